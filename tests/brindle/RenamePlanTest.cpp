#include "renamer/JournalContents.h"
#include "renamer/JournalLine.h"
#include "renamer/RenamePlan.h"
#include "tests/support/TestMain.h"

// The plan of a run as pure data: order, temporary names and what each row will do, from the
// rows and the folder's names alone.
namespace {

// "old>new" rows.
std::vector<RenamePair> rowsOf(const QStringList& texts)
{
    std::vector<RenamePair> rows;
    for (const QString& text : texts) {
        const QStringList parts = text.split('>');
        rows.push_back({parts.value(0), parts.value(1)});
    }
    return rows;
}

// The actions as "from>to" for moves and "!row" for reports.
QStringList actionsOf(const CRenamePlan& plan)
{
    QStringList texts;
    for (const RenameAction& action : plan.Actions())
        texts << (action.kind == RenameAction::Report ? QStringLiteral("!%1").arg(action.row)
                                                       : action.from + '>' + action.to);
    return texts;
}

// In a folder that takes names in another letter case for the same name, unless told otherwise.
CRenamePlan planOf(const QStringList& files, const QStringList& rows, NameCase rule = NameCase::Folded)
{
    return CRenamePlan(rowsOf(rows), CFolderIndex::FromNames(files, rule), QStringLiteral("t"));
}

QByteArray journalOf(const QStringList& records)
{
    QByteArray bytes;
    for (const QString& record : records)
        bytes += JournalLine::Make(record.toUtf8());
    return bytes;
}

} // namespace

class RenamePlanTest : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void cyclesRunTogether();
    void rowChecks_data();
    void rowChecks();
    void temporaryNamesAreFree();
    void longCycle();
    void journalRecords();
    void damagedJournals_data();
    void damagedJournals();
};

void RenamePlanTest::order_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("actions");
    QTest::newRow("independent rows keep list order")
        << QStringList{"a", "b"} << QStringList{"a>x", "b>y"} << QStringList{"a>x", "b>y"};
    QTest::newRow("swap") << QStringList{"a", "b"} << QStringList{"a>b", "b>a"}
                          << QStringList{"a>.t-1", "b>a", ".t-1>b"};
    QTest::newRow("chain of 5") << QStringList{"f1", "f2", "f3", "f4", "f5"}
                                << QStringList{"f1>f2", "f2>f3", "f3>f4", "f4>f5", "f5>f6"}
                                << QStringList{"f5>f6", "f4>f5", "f3>f4", "f2>f3", "f1>f2"};
    QTest::newRow("cycle of 3") << QStringList{"a", "b", "c"} << QStringList{"a>b", "b>c", "c>a"}
                                << QStringList{"a>.t-1", "c>a", "b>c", ".t-1>b"};
    QTest::newRow("two cycles and a chain")
        << QStringList{"a", "b", "x", "y", "z", "p", "q"}
        << QStringList{"a>b", "b>a", "x>y", "y>z", "z>x", "p>q", "q>r"}
        << QStringList{"q>r", "p>q", "a>.t-1", "b>a", ".t-1>b", "x>.t-2", "z>x", "y>z", ".t-2>y"};
    QTest::newRow("same new name twice: second after first") << QStringList{"a", "b"} << QStringList{"b>x", "a>x"}
                                                              << QStringList{"b>x", "a>x"};
    QTest::newRow("same new name, freed by a third row") << QStringList{"a", "b", "x"}
                                                         << QStringList{"a>x", "b>x", "x>y"}
                                                         << QStringList{"x>y", "a>x", "b>x"};
    // The rows taking one name run in list order, also when one of them closes a cycle.
    QTest::newRow("same new name thrice, through a cycle")
        << QStringList{"x", "y", "z", "u", "r"} << QStringList{"x>y", "y>z", "u>x", "r>x", "z>x"}
        << QStringList{"x>.t-1", "u>x", "r>x", "z>x", "y>z", ".t-1>y"};
    QTest::newRow("letter case: the holder is renamed away") << QStringList{"a", "B"} << QStringList{"a>b", "B>c"}
                                                             << QStringList{"B>c", "a>b"};
    QTest::newRow("reports stay where their rows are")
        << QStringList{"a", "b"} << QStringList{"gone>x", "a>b", "bad?>y", "b>c"}
        << QStringList{"!0", "!2", "b>c", "a>b"};
    QTest::newRow("same name: nothing") << QStringList{"a"} << QStringList{"a>a"} << QStringList{};
}

void RenamePlanTest::order()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, actions);
    const CRenamePlan plan = planOf(files, rows);
    QCOMPARE(actionsOf(plan), actions);
    int moves = 0;
    for (const QString& action : actions)
        moves += !action.startsWith('!');
    QCOMPARE(plan.MoveCount(), moves);
}

void RenamePlanTest::cyclesRunTogether()
{
    const CRenamePlan plan = planOf({"a", "b", "x", "y", "q"}, {"a>b", "b>a", "q>r", "x>y", "y>x"});
    QCOMPARE(plan.CycleCount(), 2);
    QStringList tagged;
    for (const RenameAction& action : plan.Actions())
        tagged << QStringLiteral("%1:%2").arg(action.from).arg(action.cycle);
    QCOMPARE(tagged, (QStringList{"q:-1", "a:0", "b:0", ".t-1:0", "x:1", "y:1", ".t-2:1"}));
    QCOMPARE(plan.Actions().front().kind, RenameAction::Move);
    QCOMPARE(plan.Actions()[1].kind, RenameAction::MoveToTemporary);
    QCOMPARE(plan.Actions()[3].kind, RenameAction::MoveFromTemporary);

    // "a" waits for both "b" and "B" (letter case aside) to be freed: the first cycle cannot
    // run on its own, so its moves are planned apart; the second cycle carries it through.
    const CRenamePlan apart = planOf({"a", "b", "B", "x"}, {"a>b", "b>a", "B>x", "x>B"});
    QCOMPARE(actionsOf(apart), (QStringList{"a>.t-1", "b>a", "B>.t-2", ".t-1>b", "x>B", ".t-2>x"}));
    QStringList cycles;
    for (const RenameAction& action : apart.Actions())
        cycles << QString::number(action.cycle);
    QCOMPARE(cycles, (QStringList{"-1", "-1", "1", "1", "1", "1"}));
}

void RenamePlanTest::rowChecks_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<int>("earlierRow");
    QTest::newRow("real overwrite") << QStringList{"a", "t"} << QStringList{"a>t"} << 0
                                    << int(RenameRowCheck::WillRename) << true << -1;
    QTest::newRow("chain is no overwrite") << QStringList{"a", "t"} << QStringList{"a>t", "t>u"} << 0
                                           << int(RenameRowCheck::WillRename) << false << -1;
    QTest::newRow("holder whose row cannot run") << QStringList{"a", "t"} << QStringList{"a>t", "t>u?"} << 0
                                                 << int(RenameRowCheck::WillRename) << true << -1;
    QTest::newRow("second taker asks") << QStringList{"a", "b"} << QStringList{"a>x", "b>X"} << 1
                                       << int(RenameRowCheck::WillRename) << true << 0;
    QTest::newRow("case of its own name") << QStringList{"song"} << QStringList{"song>SONG"} << 0
                                          << int(RenameRowCheck::WillRename) << false << -1;
    QTest::newRow("other file in another case") << QStringList{"a", "B"} << QStringList{"a>b"} << 0
                                                << int(RenameRowCheck::WillRename) << true << -1;
    QTest::newRow("old name twice") << QStringList{"a"} << QStringList{"a>x", "a>y"} << 1
                                    << int(RenameRowCheck::OldNameRepeated) << false << 0;
    QTest::newRow("missing") << QStringList{} << QStringList{"a>b"} << 0 << int(RenameRowCheck::OldMissing) << false
                             << -1;
    QTest::newRow("invalid old before missing") << QStringList{} << QStringList{"a:>b"} << 0
                                                << int(RenameRowCheck::InvalidOldName) << false << -1;
    QTest::newRow("empty new name") << QStringList{"a"} << QStringList{"a>"} << 0
                                    << int(RenameRowCheck::InvalidNewName) << false << -1;
    QTest::newRow("line break in new name") << QStringList{"a"} << QStringList{"a>b\nc"} << 0
                                            << int(RenameRowCheck::InvalidNewName) << false << -1;
    QTest::newRow("tab in old name is fine") << QStringList{"a\tb"} << QStringList{"a\tb>c"} << 0
                                             << int(RenameRowCheck::WillRename) << false << -1;
    QTest::newRow("into a sub-folder") << QStringList{"a"} << QStringList{"a>sub/b"} << 0
                                       << int(RenameRowCheck::InvalidNewName) << false << -1;
    QTest::newRow("out of the folder") << QStringList{"a"} << QStringList{"a>.."} << 0
                                       << int(RenameRowCheck::InvalidNewName) << false << -1;
}

void RenamePlanTest::rowChecks()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, rows);
    QFETCH(int, row);
    QFETCH(int, verdict);
    QFETCH(bool, asks);
    QFETCH(int, earlierRow);
    const CRenamePlan plan = planOf(files, rows);
    const RenameRowCheck& check = plan.Checks()[size_t(row)];
    QCOMPARE(int(check.verdict), verdict);
    QCOMPARE(check.asksOverwrite, asks);
    QCOMPARE(check.earlierRow, earlierRow);
}

void RenamePlanTest::temporaryNamesAreFree()
{
    // Neither a name of the folder (in any case) nor one the list uses.
    const CRenamePlan plan = planOf({"a", "b", ".T-1", "c", "d"}, {"a>b", "b>a", "gone>.t-2", "c>d", "d>c"});
    QCOMPARE(actionsOf(plan), (QStringList{"!2", "a>.t-3", "b>a", ".t-3>b", "c>.t-4", "d>c", ".t-4>d"}));
}

void RenamePlanTest::longCycle()
{
    // Each file takes the next one's name, the last the first's: one cycle of 100,000 rows.
    const int count = 100000;
    QStringList files;
    std::vector<RenamePair> rows;
    for (int i = 0; i < count; ++i) {
        files << QStringLiteral("f%1").arg(i);
        rows.push_back({QStringLiteral("f%1").arg(i), QStringLiteral("f%1").arg((i + 1) % count)});
    }
    const CRenamePlan plan(rows, CFolderIndex::FromNames(files, NameCase::Exact), QStringLiteral("t"));
    QCOMPARE(plan.MoveCount(), count + 1);
    QCOMPARE(plan.CycleCount(), 1);
    const auto& actions = plan.Actions();
    QCOMPARE(actions.front().kind, RenameAction::MoveToTemporary);
    QCOMPARE(actions.front().from, QStringLiteral("f0"));
    QCOMPARE(actions[1].from, QStringLiteral("f%1").arg(count - 1));
    QCOMPARE(actions.back().kind, RenameAction::MoveFromTemporary);
    QCOMPARE(actions.back().to, QStringLiteral("f1"));
}

void RenamePlanTest::journalRecords()
{
    const QString folder = QStringLiteral("/music/新しい フォルダー");
    QByteArray bytes = journalOf({"brindle-journal 1", "folder " + JournalLine::EncodeName(folder),
                                  "move T a .t-1", "move M " + JournalLine::EncodeName("曲 1\t.mp3") + " a",
                                  "move F .t-1 b", "plan 3", "done 0", "done 1", "kept 2", "revert 1"});
    bytes += "0000";   // a record cut off in the middle
    const auto contents = CJournalContents::Parse(bytes);
    QVERIFY(contents);
    QCOMPARE(contents->Folder(), folder);
    QCOMPARE(contents->Moves().size(), size_t(3));
    QCOMPARE(contents->Moves()[1].from, QStringLiteral("曲 1\t.mp3"));
    QCOMPARE(contents->Moves()[0].kind, JournalMove::ToTemporary);
    QCOMPARE(contents->Version(), 1);
    QCOMPARE(contents->State(0), CJournalContents::MoveState::Made);
    QCOMPARE(contents->State(1), CJournalContents::MoveState::Undoing);
    QCOMPARE(contents->State(2), CJournalContents::MoveState::NotMade);
    QVERIFY(!contents->RunEnded());
    QVERIFY(!contents->Settled());

    // Ended with the temporary name's file moved on: settled. Records after a damaged line
    // are not trusted.
    const QByteArray ended = journalOf({"brindle-journal 1", "folder /m", "move T a .t-1", "move F .t-1 b", "plan 2",
                                        "done 0", "done 1", "ended"});
    QVERIFY(CJournalContents::Parse(ended)->Settled());
    QByteArray damaged = ended;
    damaged.replace("done 1", "dune 1");
    const auto cut = CJournalContents::Parse(damaged);
    QVERIFY(cut);
    QCOMPARE(cut->State(1), CJournalContents::MoveState::Unknown);
    QVERIFY(!cut->RunEnded());
}

void RenamePlanTest::damagedJournals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no journal") << QByteArray("a\tb\r\n");
    QTest::newRow("plan cut off") << journalOf({"brindle-journal 1", "folder /m", "move M a b"});
    QTest::newRow("plan count wrong") << journalOf({"brindle-journal 1", "folder /m", "move M a b", "plan 2"});
    QTest::newRow("relative folder") << journalOf({"brindle-journal 1", "folder m", "move M a b", "plan 1"});
    QTest::newRow("name with a slash") << journalOf({"brindle-journal 1", "folder /m", "move M a ..%2Fb", "plan 1"});
    QTest::newRow("dot dot") << journalOf({"brindle-journal 1", "folder /m", "move M .. b", "plan 1"});
    QTest::newRow("unknown kind") << journalOf({"brindle-journal 1", "folder /m", "move X a b", "plan 1"});
    QTest::newRow("newer version") << journalOf({"brindle-journal 3", "folder /m", "move M a b", "plan 1"});
    QByteArray badChecksum = journalOf({"brindle-journal 1", "folder /m", "move M a b", "plan 1"});
    badChecksum[badChecksum.indexOf("move") - 2] ^= 1;
    QTest::newRow("damaged plan line") << badChecksum;
}

void RenamePlanTest::damagedJournals()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!CJournalContents::Parse(bytes));
}

SONAVEL_TEST_MAIN(RenamePlanTest)
#include "RenamePlanTest.moc"
