#pragma once

#include "platform/text/KanaText.h"

#include <QStringView>

#include <memory>
#include <vector>

// Where readings of kanji come from: a dictionary that cuts text into words and knows how each is
// read. Read() may be called from any thread at the same time.
class CReadingSource
{
public:
    virtual ~CReadingSource() = default;

    // The readings (hiragana) of the kanji in the text, in order, with UTF-16 offsets into it;
    // the kana of a word stay bare.
    virtual std::vector<KanaText::WordPart> Read(QStringView text) const = 0;

    // The system's dictionary (MeCab with the IPA dictionary in UTF-8), loaded at the first call;
    // null when it is not installed.
    static std::shared_ptr<const CReadingSource> System();
};
