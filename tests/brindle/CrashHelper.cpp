// A Brindle killed in the middle of a run: runs a rename list as the window's run does and
// kills itself with SIGKILL after the given number of moves.
// Arguments: the list file, the journal folder, the number of moves.
#include "common/ui/MessageBox.h"
#include "common/ui/PathParts.h"
#include "renamer/BrindleStrings.h"
#include "renamer/FileRenamer.h"

#include <QApplication>

#include <csignal>
#include <unistd.h>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc != 4)
        return 2;
    BrindleStrings::Register();
    SetMessageBoxHandler([](const MessageBoxPrompt&) { return IDYES; });
    const QString list = QString::fromLocal8Bit(argv[1]);
    CRenameJournal::SetFolder(QString::fromLocal8Bit(argv[2]));
    const int killAfter = QByteArray(argv[3]).toInt();
    const auto rows = CRenameList::ReadFile(list, ListSeparator::Tab);
    if (!rows)
        return 2;
    CFileRenamer renamer;
    renamer.SetProgress([killAfter](int made) {
        if (made == killAfter)
            ::kill(::getpid(), SIGKILL);
    });
    std::unique_ptr<CRenameJournal> journal;
    renamer.RunList(CPathParts(list).Folder, *rows, journal);
    return 3;   // not killed: fewer moves than asked for
}
