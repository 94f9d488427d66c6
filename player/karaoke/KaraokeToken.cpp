#include "player/karaoke/KaraokeToken.h"

CKaraokeToken CKaraokeToken::Word(const QString& text)
{
    return CKaraokeToken(text, false);
}

CKaraokeToken CKaraokeToken::LineBreak()
{
    return CKaraokeToken(QStringLiteral(" "), true);
}
