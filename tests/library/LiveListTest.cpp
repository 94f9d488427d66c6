#include "player/library/FolderTree.h"
#include "player/library/TrackLibrary.h"
#include "player/library/TrackListCtrl.h"

#include "platform/engine/Player.h"
#include "tests/support/FlacFixture.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QScrollBar>
#include <QSignalSpy>

// The track list while the engine's reader fills it in and while other programs change the
// shown folder: real folders, the real engine, changes made by a shell of their own.
class LiveListTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_temp;
    std::unique_ptr<Player> m_player;
    std::unique_ptr<CFolderTree> m_tree;
    std::unique_ptr<CTrackListCtrl> m_list;
    std::unique_ptr<CTrackLibrary> m_library;

    CTrackLibrary& library() { return *m_library; }

    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < m_list->GetItemCount(); ++row)
            texts.append(m_list->GetItem(row)->ColumnText(column));
        return texts;
    }

    static bool runShell(const QString& script, const QString& folder)
    {
        QProcess shell;
        shell.setWorkingDirectory(folder);
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), script});
        return shell.waitForFinished(10000) && shell.exitCode() == 0;
    }

    // `count` FLAC tracks whose titles run against their file names.
    QString flacFolder(int count)
    {
        const QString folder = m_temp->mkdir("flac");
        for (int i = 0; i < count; ++i)
            FlacFixture::write(
                QStringLiteral("%1/f%2.flac").arg(folder).arg(i, 5, 10, QLatin1Char('0')),
                {{"TITLE", QStringLiteral("t%1").arg(count - i, 5, 10, QLatin1Char('0'))}, {"ARTIST", "a"}});
        return folder;
    }

    bool allTitlesIn() const
    {
        for (int row = 0; row < m_list->GetItemCount(); ++row)
            if (!m_list->GetItem(row)->TitleText.startsWith(u't'))
                return false;
        return true;
    }

private slots:
    void init()
    {
        m_temp = std::make_unique<TempFolder>();
        Player::Options options = Player::Options::fromEnvironment();
        options.playlistFolder = m_temp->mkdir("playlists");
        m_player = Player::create(options);
        QVERIFY(m_player);
        m_player->setAutoStart(false);
        FolderNamespace::Sources sources;
        sources.home = m_temp->mkdir("home");
        sources.mountsFile = m_temp->write("mounts", "rootfs / overlay rw 0 0\n");
        m_tree = std::make_unique<CFolderTree>(nullptr, FolderNamespace(sources));
        m_list = std::make_unique<CTrackListCtrl>();
        m_list->resize(700, 300);
        m_library = std::make_unique<CTrackLibrary>(*m_player, *m_tree, *m_list);
        library().Settings().SortState = 1;
        library().Settings().SortColumn = 0;
    }

    void cleanup()
    {
        m_library.reset();
        m_list.reset();
        m_tree.reset();
        m_player.reset();
        m_temp.reset();
    }

    void folderChangedByAnotherProgram_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("played");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<bool>>("marks");
        QTest::addColumn<QStringList>("subfolders");
        QTest::newRow("added") << "cp b.mp3 a.mp3 && mkdir new" << 1 << QStringList{"a.mp3", "b.mp3", "c.mp3"}
                               << QList<bool>{false, false, false} << QStringList{"new", "sub"};
        QTest::newRow("removed") << "rm b.mp3 && rmdir sub" << 1 << QStringList{"c.mp3"} << QList<bool>{false}
                                 << QStringList{};
        QTest::newRow("renamed") << "mv c.mp3 a.mp3" << 0 << QStringList{"a.mp3", "b.mp3"}
                                 << QList<bool>{false, false} << QStringList{"sub"};
        QTest::newRow("playing file renamed") << "mv c.mp3 a.mp3" << 1 << QStringList{"a.mp3", "b.mp3"}
                                              << QList<bool>{false, false} << QStringList{"sub"};
        QTest::newRow("lyric file added") << "printf '[00:00:00]la\\r\\n' > c.lrc" << 1
                                          << QStringList{"b.mp3", "c.mp3"} << QList<bool>{false, true}
                                          << QStringList{"sub"};
    }

    // Within a second the list and the tree show what the folder holds; the playing item
    // (item `played` before the change) plays on, still marked, under its new name if renamed.
    void folderChangedByAnotherProgram()
    {
        QFETCH(QString, script);
        QFETCH(int, played);
        QFETCH(QStringList, names);
        QFETCH(QList<bool>, marks);
        QFETCH(QStringList, subfolders);
        const QString folder = m_temp->mkdir("music");
        m_temp->mkdir("music/sub");
        Mp3Fixture::write(folder + "/b.mp3", {"B", {}, {}, {}}, 5);
        Mp3Fixture::write(folder + "/c.mp3", {"C", {}, {}, {}}, 5);
        QVERIFY(m_tree->SelectPath(folder, true));
        QTreeWidgetItem* folderItem = m_tree->currentItem();
        folderItem->setExpanded(true);
        const MediaPtr playing = m_player->currentPlaylist()->item(played);
        QVERIFY(m_player->playItem(playing));
        QTRY_COMPARE(m_player->playState(), 3);
        QSignalSpy updates(&library(), &CTrackLibrary::ListedFolderUpdated);
        const auto shownMarks = [this] {
            QList<bool> shown;
            for (int row = 0; row < m_list->GetItemCount(); ++row)
                shown.append(m_list->GetCheck(row));
            return shown;
        };
        QCOMPARE(shownMarks(), QList<bool>({false, false}));

        QVERIFY(runShell(script, folder));
        QTRY_VERIFY_WITH_TIMEOUT(column(0) == names && shownMarks() == marks, 1000);
        QStringList shownFolders;
        for (int i = 0; i < folderItem->childCount(); ++i)
            shownFolders.append(folderItem->child(i)->text(0));
        QCOMPARE(shownFolders, subfolders);
        QTest::qWait(300);
        QCOMPARE(updates.count(), 1);
        QCOMPARE(m_player->currentMedia(), playing);
        QCOMPARE(m_player->playState(), 3);
        const int row = m_player->currentPlaylist()->indexOf(playing);
        QVERIFY(row >= 0);
        QCOMPARE(m_list->GetItem(row)->FullPath(), playing->sourceURL());
        for (int other = 0; other < m_list->GetItemCount(); ++other)
            QCOMPARE(m_list->Model().data(m_list->Model().index(other, 1), Qt::BackgroundRole).value<QBrush>().color() ==
                         QColor(0, 128, 255),
                     other == row);
    }

    // A painted row shows its texts at once and its lyric mark a moment later (the lyric files
    // are looked for off the GUI thread): a lyric file beside the track, one among the saved
    // lyrics, none.
    void paintedRowsGetTheirMarks()
    {
        const QString folder = m_temp->mkdir("marks");
        const QString saved = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/sonavel/lyrics";
        QVERIFY(QDir().mkpath(saved));
        for (const char* name : {"a", "b", "c"})
            Mp3Fixture::write(folder + "/" + name + ".mp3", {QString::fromLatin1(name).toUpper(), "S", {}, {}});
        TestFiles::writeBytes(folder + "/a.lrc", "[00:01.00]la\n");
        TestFiles::writeBytes(saved + "/S - B.lrc", "[00:01.00]la\n");
        m_list->show();
        QVERIFY(m_tree->SelectPath(folder, true));
        const auto painted = [this](int row) {
            return m_list->Model().data(m_list->Model().index(row, 0), Qt::CheckStateRole).toInt();
        };
        QTRY_COMPARE(column(1), QStringList({"A", "B", "C"}));
        QTRY_COMPARE(QList<int>({painted(0), painted(1), painted(2)}), QList<int>({Qt::Checked, Qt::Checked, Qt::Unchecked}));
        QFile::remove(saved + "/S - B.lrc");
    }

    // A thousand files copied in by one program come as one update.
    void burstIsFolded()
    {
        const QString folder = m_temp->mkdir("burst");
        Mp3Fixture::write(folder + "/0.mp3", {});
        QVERIFY(m_tree->SelectPath(folder, true));
        QSignalSpy updates(&library(), &CTrackLibrary::ListedFolderUpdated);
        QVERIFY(runShell("i=1; while [ $i -le 1000 ]; do cp 0.mp3 t$i.mp3; i=$((i+1)); done", folder));
        QTRY_COMPARE_WITH_TIMEOUT(m_list->GetItemCount(), 1001, 3000);
        QTest::qWait(300);
        QCOMPARE(updates.count(), 1);
    }

    // Rows show their texts as the reader brings them, the user's selection and scroll
    // position kept; a sort by title asked for meanwhile waits for the titles, under the
    // wait cursor, and keeps the selected item selected.
    void rowsFillInAndSortWaitsForTitles()
    {
        constexpr int count = 3000;
        const QString folder = flacFolder(count);
        m_list->show();
        QVERIFY(m_tree->SelectPath(folder, true));
        m_list->SelectRow(40);
        m_list->verticalScrollBar()->setValue(30);
        QVERIFY(m_list->GetItem(count - 1)->TitleText.isEmpty()); // the reader is at the first rows
        QTRY_VERIFY_WITH_TIMEOUT(allTitlesIn(), 20000);
        QCOMPARE(m_list->GetSelectedRow(), 40);
        QCOMPARE(m_list->verticalScrollBar()->value(), 30);
        QCOMPARE(m_list->GetItem(40)->TitleText, QStringLiteral("t%1").arg(count - 40, 5, 10, QLatin1Char('0')));

        // Listed anew once another folder plays: new items, their titles not read yet.
        QVERIFY(m_tree->SelectPath(m_temp->path(), true));
        QCOMPARE(library().ActivateShownFolder(), 1);
        QVERIFY(m_tree->SelectPath(folder, true));
        m_list->SelectRow(0);
        const QString selected = m_list->GetItem(0)->FullPath();
        QVERIFY(!QApplication::overrideCursor());
        library().OnColumnClick(1);
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(m_list->GetItem(0)->Path.Name(), QStringLiteral("f00000.flac"));
        QTRY_COMPARE_WITH_TIMEOUT(m_list->GetItem(0)->Path.Name(), QStringLiteral("f02999.flac"), 20000);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(m_list->GetItem(m_list->GetSelectedRow())->FullPath(), selected);
        const QStringList titles = column(1);
        QVERIFY(std::is_sorted(titles.begin(), titles.end()));
    }
};

SONAVEL_TEST_MAIN(LiveListTest)
#include "LiveListTest.moc"
