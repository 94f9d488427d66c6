// Figures for Brindle's two costly steps: reading a long list and a run over a full folder
// (each new name is also looked for without regard to case, one folder listing per row).
#include "platform/text/CodePage.h"
#include "renamer/BrindleStrings.h"
#include "renamer/FileRenamer.h"
#include "renamer/RenameList.h"
#include "tests/support/TestFiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

QByteArray listOf(int rows)
{
    QString text;
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("Track%1.MP3\t%1 曲名のサンプル\r\n").arg(i, 5, 10, QChar('0'));
    return TestFiles::encode(text, CodePage::Utf16LE);
}

void benchParse(int rows)
{
    const QByteArray bytes = listOf(rows);
    QElapsedTimer timer;
    timer.start();
    const auto pairs = CRenameList::Parse(bytes, ListSeparator::Tab);
    std::printf("parse %d rows (%lld bytes): %.1f ms, %zu pairs\n", rows, static_cast<long long>(bytes.size()),
                timer.nsecsElapsed() / 1e6, pairs.size());
}

void benchRun(int files)
{
    TempFolder folder;
    const QByteArray bytes = listOf(files);
    const auto pairs = CRenameList::Parse(bytes, ListSeparator::Tab);
    for (const RenamePair& pair : pairs)
        TestFiles::writeBytes(folder.file(pair.oldName), QByteArray());
    CFileRenamer renamer;
    QElapsedTimer timer;
    timer.start();
    int renamed = 0;
    renamer.StartRun(folder.path());
    for (const RenamePair& pair : pairs)
        renamed += renamer.RenameOne(folder.path(), pair.oldName, pair.newName) == RenameDone;
    renamer.FinishRun();
    std::printf("run over %d files in a folder of %d: %.1f ms, %d renamed\n", files, files,
                timer.nsecsElapsed() / 1e6, renamed);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    BrindleStrings::Register();
    for (const int rows : {1000, 20000, 200000})
        benchParse(rows);
    for (const int files : {500, 2000, 5000})
        benchRun(files);
    return 0;
}
