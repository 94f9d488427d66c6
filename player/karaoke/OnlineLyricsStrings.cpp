#include "player/karaoke/OnlineLyricsStrings.h"

#include "common/ui/StringTable.h"
#include "platform/net/LrclibTypes.h"

#include <QUrl>

void RegisterOnlineLyricsStrings()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    StringTable::add({
        {1450,
         QT_TRANSLATE_NOOP("Ui", "歌詞サーバー \"%s\" に接続できません。ネットワークの接続を確かめてください\n(%s)")},
        {1451, QT_TRANSLATE_NOOP("Ui", "歌詞サーバーが %s 秒以内に応答しませんでした")},
        {1452, QT_TRANSLATE_NOOP("Ui", "歌詞サーバーとの接続が途中で切れました\n(%s)")},
        {1453, QT_TRANSLATE_NOOP("Ui", "歌詞サーバーがエラーを返しました (HTTP %s)\n%s")},
        {1454, QT_TRANSLATE_NOOP("Ui", "歌詞サーバーの応答を読み取れません\n(%s)")},
        {1455, QT_TRANSLATE_NOOP("Ui", "歌詞サーバーの応答が 2 MB を超えたため受け取りを中止しました")},
        {1456, QT_TRANSLATE_NOOP("Ui", "暗号化されていない接続への転送を拒否しました\n(%s)")},
        {1457, QT_TRANSLATE_NOOP(
                   "Ui", "歌詞サーバーのアドレス \"%s\" は使えません。https:// で始まるアドレスを設定してください")},
        {1458, QT_TRANSLATE_NOOP("Ui", "歌詞は見つかりませんでした")},
        {1459, QT_TRANSLATE_NOOP("Ui", "歌詞サーバーとの通信に失敗しました\n(%s)")},
        {1460, QT_TRANSLATE_NOOP("Ui", "検索中…")},
        {1461, QT_TRANSLATE_NOOP("Ui", "%s 件見つかりました")},
        {1462, QT_TRANSLATE_NOOP("Ui", "同期歌詞のタイムタグが逆順になっているため保存できません")},
        {1463, QT_TRANSLATE_NOOP("Ui", "同期歌詞の %s 行目にタイムタグがないため保存できません")},
        {1464, QT_TRANSLATE_NOOP("Ui", "歌詞ファイル \"%s\" は既にあります。上書きしますか？")},
        {1465, QT_TRANSLATE_NOOP("Ui", "歌詞ファイル \"%s\" の保存に失敗しました")},
        {1466, QT_TRANSLATE_NOOP("Ui", "歌詞を \"%s\" に保存しました")},
        {1467,
         QT_TRANSLATE_NOOP(
             "Ui", "歌詞のない曲を再生したとき、その曲のタイトル・アーティスト・アルバム・長さを歌詞サーバー (%s) "
                   "に送って、歌詞を自動で取得しますか？\n(設定画面でいつでも変えられます)")},
        {1468, QT_TRANSLATE_NOOP("Ui", "この曲はインストゥルメンタルとして登録されていて、歌詞はありません")},
        {1469, QT_TRANSLATE_NOOP("Ui", "公開の準備をしています (計算中)…")},
        {1470, QT_TRANSLATE_NOOP("Ui", "歌詞を公開しました。ありがとうございます")},
        {1471, QT_TRANSLATE_NOOP("Ui", "歌詞の公開に失敗しました\n%s")},
        {1472, QT_TRANSLATE_NOOP("Ui", "公開するにはタイトル、アーティストと曲の長さが必要です")},
        {1473, QT_TRANSLATE_NOOP("Ui", "公開できるのは、タイムタグが正しい順に付いた歌詞ファイルだけです")},
        {1474, QT_TRANSLATE_NOOP("Ui", "送信しています…")},
        {1480, QT_TRANSLATE_NOOP("Ui", "同期")},
        {1481, QT_TRANSLATE_NOOP("Ui", "テキスト")},
        {1482, QT_TRANSLATE_NOOP("Ui", "インスト")},
        {1490, QT_TRANSLATE_NOOP("Ui", "歌詞を検索")},
        {1491, QT_TRANSLATE_NOOP("Ui", "歌詞を公開")},
        {32800, QT_TRANSLATE_NOOP("Ui", "歌詞を検索…")},
        {32801, QT_TRANSLATE_NOOP("Ui", "公開…")},
    });
}

QString OnlineLyricsErrorText(const LrclibError& error, const QUrl& server)
{
    using namespace OnlineLyricsString;
    using Kind = LrclibError::Kind;
    RegisterOnlineLyricsStrings();
    const QString host = server.toString(QUrl::RemovePath | QUrl::RemoveQuery);
    switch (error.What) {
    case Kind::None: return {};
    case Kind::NoConnection: return StringTable::format(NoConnection, {host, error.Detail});
    case Kind::Timeout: return StringTable::format(Timeout, {error.Detail});
    case Kind::ConnectionClosed: return StringTable::format(ConnectionClosed, {error.Detail});
    case Kind::Http: return StringTable::format(HttpError, {QString::number(error.HttpStatus), error.Detail}).trimmed();
    case Kind::NotFound: return StringTable::text(NotFound);
    case Kind::Malformed: return StringTable::format(Malformed, {error.Detail});
    case Kind::TooLarge: return StringTable::text(TooLarge);
    case Kind::InsecureRedirect: return StringTable::format(InsecureRedirect, {error.Detail});
    case Kind::InsecureServer: return StringTable::format(InsecureServer, {error.Detail});
    case Kind::Other: break;
    }
    return StringTable::format(OtherError, {error.Detail});
}
