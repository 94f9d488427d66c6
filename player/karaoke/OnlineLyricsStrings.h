#pragma once

#include <QString>

struct LrclibError;
class QUrl;

// The texts of online lyrics (search, automatic lookup, publish) in the string table.
namespace OnlineLyricsString {
enum Id : int {
    NoConnection = 1450,
    Timeout = 1451,
    ConnectionClosed = 1452,
    HttpError = 1453,
    Malformed = 1454,
    TooLarge = 1455,
    InsecureRedirect = 1456,
    InsecureServer = 1457,
    NotFound = 1458,
    OtherError = 1459,
    Searching = 1460,
    FoundCount = 1461,
    SyncedBackwards = 1462,
    SyncedTagMissing = 1463,
    OverwriteConfirm = 1464,
    SaveFailed = 1465,
    Saved = 1466,
    AutoLookupQuestion = 1467,
    NoLyricsInRecord = 1468,
    Solving = 1469,
    Published = 1470,
    PublishFailed = 1471,
    PublishNeedsNames = 1472,
    PublishNeedsTimedFile = 1473,
    Publishing = 1474,
    KindSynced = 1480,
    KindPlain = 1481,
    KindInstrumental = 1482,
    SearchDialogCaption = 1490,
    PublishDialogCaption = 1491,
    CommandSearch = 32800,
    CommandPublish = 32801,
};
} // namespace OnlineLyricsString

// Adds these texts to the string table; calling it again changes nothing.
void RegisterOnlineLyricsStrings();
// What to tell the user of a failed call to the server at `server`.
QString OnlineLyricsErrorText(const LrclibError& error, const QUrl& server);
