#include "player/library/FolderTree.h"
#include "player/library/RenameTable.h"
#include "player/library/TrackLibrary.h"
#include "player/library/TrackListCtrl.h"

#include "platform/engine/Player.h"
#include "platform/text/NativeName.h"
#include "platform/text/RuntimeLocale.h"
#include "player/dialogs/ShortcutDlg.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/Mp3Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

namespace {

// One optical drive with a two-track audio disc.
class FakeDiscDrives : public DiscDriveProvider
{
public:
    explicit FakeDiscDrives(QString device) : m_device(std::move(device)) {}
    QStringList drives() const override { return {m_device}; }
    std::optional<Disc> readDisc(const QString&) const override { return Disc{{1, 60.0}, {2, 90.0}}; }

private:
    QString m_device;
};

QByteArray utf16(const QString& text, bool mark)
{
    return TestFiles::encode(text, 1200, mark);
}

} // namespace

// The scan, sort, fill and playlist-slot logic over real folders and the real engine.
class TrackLibraryTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempFolder> m_temp;
    std::unique_ptr<Player> m_player;
    std::unique_ptr<CFolderTree> m_tree;
    std::unique_ptr<CTrackListCtrl> m_list;
    std::unique_ptr<CTrackLibrary> m_library;
    QString m_drive;

    CTrackLibrary& library() { return *m_library; }

    void show(const QString& folder)
    {
        QVERIFY2(m_tree->SelectPath(folder, true), qPrintable(folder));
    }

    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < m_list->GetItemCount(); ++row)
            texts.append(m_list->GetItem(row)->ColumnText(column));
        return texts;
    }

    QString mp3(const QString& name, const Mp3Fixture::Tags& tags = {})
    {
        QDir().mkpath(QFileInfo(m_temp->file(name)).absolutePath());
        return Mp3Fixture::write(m_temp->file(name), tags, 0.1);
    }

    // The engine's reader has brought every listed item's texts.
    bool listedRead()
    {
        const PlaylistPtr playlist = slotPlaylist(library().ListedSlot());
        for (int i = 0; playlist && i < playlist->count(); ++i)
            if (!playlist->item(i)->attributesRead())
                return false;
        return true;
    }

    PlaylistPtr slotPlaylist(int slot)
    {
        PlaylistPtr playlist;
        library().GetSlotPlaylist(slot, playlist);
        return playlist;
    }

private slots:
    void init()
    {
        m_temp = std::make_unique<TempFolder>();
        m_drive = m_temp->write("dev/sr0", "");
        Player::Options options = Player::Options::fromEnvironment();
        options.playlistFolder = m_temp->mkdir("playlists");
        options.discDrives = std::make_shared<FakeDiscDrives>(m_drive);
        m_player = Player::create(options);
        QVERIFY(m_player);
        m_player->setAutoStart(false);
        FolderNamespace::Sources sources;
        sources.home = m_temp->mkdir("home");
        sources.mountsFile = m_temp->write("mounts", "rootfs / overlay rw 0 0\n");
        sources.deviceFolder = m_temp->file("dev");
        m_tree = std::make_unique<CFolderTree>(nullptr, FolderNamespace(sources));
        m_list = std::make_unique<CTrackListCtrl>();
        m_library = std::make_unique<CTrackLibrary>(*m_player, *m_tree, *m_list);
        library().Settings().SortState = 0;
    }

    void cleanup()
    {
        m_library.reset();
        m_list.reset();
        m_tree.reset();
        m_player.reset();
        m_temp.reset();
    }

    void extensionsMatchWithoutCaseAndTwiceListsTwice()
    {
        mp3("ext/a.mp3");
        mp3("ext/SONG.MP3");
        m_temp->write("ext/c.wma", "not really");
        m_temp->write("ext/skip.txt", "x");
        m_temp->write("ext/.hidden.mp3", "x");
        QFile::link(m_temp->file("ext/missing.mp3"), m_temp->file("ext/dangling.mp3"));
        m_temp->mkdir("ext/folder.mp3");
        library().Settings().ExtensionList = {"mp3", "WMA", "mp3"};
        show(m_temp->file("ext"));
        const QStringList names = column(0);
        QCOMPARE(names.size(), 5);
        QCOMPARE(QSet<QString>(names.begin(), names.begin() + 2), QSet<QString>({"a.mp3", "SONG.MP3"}));
        QCOMPARE(names[2], QString("c.wma"));
        QCOMPARE(names.mid(3), names.mid(0, 2));
        QCOMPARE(slotPlaylist(0)->count(), 5);
        QCOMPARE(m_tree->PathEdit(), nullptr);
    }

    void firstFolderPlaysAndNonFolderSelectionLeavesList()
    {
        QLineEdit edit;
        m_tree->SetPathEdit(&edit);
        mp3("first/one.mp3");
        show(m_temp->file("first"));
        QCOMPARE(edit.text(), m_temp->file("first") + "/");
        QCOMPARE(library().PlayingSlot(), 0);
        QCOMPARE(library().PlayingFolder(), m_temp->file("first") + "/");
        QCOMPARE(m_player->currentPlaylist(), slotPlaylist(0));
        m_tree->setCurrentItem(m_tree->topLevelItem(0));
        QCOMPARE(m_list->GetItemCount(), 1);
        QCOMPARE(edit.text(), m_temp->file("first") + "/");
    }

    void playingFolderIsNotRescannedAndEqualKeysSwap()
    {
        mp3("play/x.mp3", {"X", "Same", "", ""});
        mp3("play/y.mp3", {"Y", "Same", "", ""});
        mp3("other/z.mp3");
        library().Settings().SortState = 1;
        library().Settings().SortColumn = 2;
        show(m_temp->file("play"));
        const QStringList first = column(0);
        QCOMPARE(first.size(), 2);
        mp3("play/new.mp3", {"N", "Same", "", ""});
        show(m_temp->file("other"));
        QCOMPARE(library().ListedSlot(), 1);
        QCOMPARE(column(0), QStringList({"z.mp3"}));
        show(m_temp->file("play"));
        QCOMPARE(library().ListedSlot(), 0);
        const QStringList second = column(0);
        QCOMPARE(second.size(), 2);
        QCOMPARE(second, QStringList({first[1], first[0]}));
        // The engine playlist and the tag records follow the list.
        QCOMPARE(CPathParts(slotPlaylist(0)->item(0)->sourceURL()).Name(), second[0]);
        QCOMPARE(library().Record(0, 0)->FileName, second[0]);
        QCOMPARE(library().Record(0, 0)->Next, library().Record(0, 1));
    }

    void renameTableFormat()
    {
        CRenameTable table;
        table.Parse(utf16("CLIP.DAT\tClip\r\n# c\tx\r\n\r\nno tab\r\nb.mpg\tB\tpart\r\nlone\nlf\tL\r\nlast\tEnd", true) + "\x01");
        QCOMPARE(table.Pairs().size(), 4);
        QCOMPARE(table.Lookup("clip.dat"), std::optional<QString>("Clip"));
        QCOMPARE(table.Lookup("B.MPG"), std::optional<QString>("B\tpart"));
        QCOMPARE(table.Lookup("lone\nlf"), std::optional<QString>("L"));
        QCOMPARE(table.Lookup("last"), std::optional<QString>("End"));
        QCOMPARE(table.Lookup("# c"), std::nullopt);
        // Text in another encoding gives no pairs rather than garbage titles.
        table.Parse(QByteArray("clip.dat\tClip\r\n"));
        QVERIFY(table.Pairs().isEmpty());
    }

    void renameTxtTitlesOnlyVideoFiles()
    {
        m_temp->write("video/clip.dat", "x");
        m_temp->write("video/movie.MPG", "x");
        m_temp->write("video/other.mpeg", "x");
        mp3("video/song.mp3", {"Tagged", "", "", ""});
        m_temp->write("video/Rename.txt",
                      utf16("# titles\r\nCLIP.DAT\tClip Title\r\nmovie.mpg\tMovie\tPart 2\r\nsong.mp3\tNot used\r\n", true));
        show(m_temp->file("video"));
        QTRY_VERIFY(listedRead());
        QMap<QString, QString> titles;
        for (int row = 0; row < m_list->GetItemCount(); ++row)
            titles.insert(m_list->GetItem(row)->FileName(), m_list->GetItem(row)->TitleText);
        QCOMPARE(titles.value("clip.dat"), QString("Clip Title"));
        QCOMPARE(titles.value("movie.MPG"), QString("Movie\tPart 2"));
        QCOMPARE(titles.value("other.mpeg"), QString("other"));
        QCOMPARE(titles.value("song.mp3"), QString("Tagged"));
    }

    void shortcutPass()
    {
        mp3("target/t1.mp3");
        m_temp->write("target/t.m3u", "t1.mp3\n");
        m_temp->write("elsewhere/Song.mpg", "x");
        m_temp->write("elsewhere/readme.txt", "x");
        const QString folder = m_temp->mkdir("links");
        QFile::link(m_temp->file("target"), folder + "/dir.lnk");
        QFile::link(m_temp->file("elsewhere/Song.mpg"), folder + "/Song.mpg.lnk");
        QFile::link(m_temp->file("elsewhere/readme.txt"), folder + "/doc.lnk");
        QFile::link(m_temp->file("elsewhere/gone.mp3"), folder + "/dead.LNK");

        MessageBoxRecorder boxes(IDNO);
        show(folder);
        QTRY_VERIFY(listedRead());
        const QStringList names = column(0);
        QCOMPARE(QSet<QString>(names.begin(), names.end()), QSet<QString>({"t1.mp3", "Song.mpg"}));
        QCOMPARE(m_list->GetItemCount(), 2);
        for (int row = 0; row < m_list->GetItemCount(); ++row) {
            if (m_list->GetItem(row)->FileName() == "Song.mpg")
                QCOMPARE(m_list->GetItem(row)->TitleText, QString("Song"));
        }
        QCOMPARE(boxes.count(), 1);
        const MessageBoxPrompt prompt = boxes.prompts().first();
        QCOMPARE(prompt.caption, QString("ReadShortcut"));
        QCOMPARE(prompt.flags, unsigned(MB_YESNO | MB_ICONWARNING));
        QVERIFY(prompt.text.startsWith(QString("ショートカット \"%1/dead.LNK\" の読み込みに失敗しました。\nファイル \"%2\"")
                                           .arg(folder, m_temp->file("elsewhere/gone.mp3"))));
        QVERIFY(QFileInfo(folder + "/dead.LNK").isSymLink());

        // Another folder, then this one again with Yes: the dead shortcut goes.
        boxes.queueAnswer(IDYES);
        show(m_temp->file("elsewhere"));
        show(folder);
        QCOMPARE(boxes.count(), 1); // the playing folder is not rescanned
        show(m_temp->file("target"));
        library().ActivateShownFolder();
        show(folder);
        QCOMPARE(boxes.count(), 2);
        QVERIFY(!QFileInfo(folder + "/dead.LNK").isSymLink());
        QVERIFY(QFileInfo::exists(m_temp->file("target/t1.mp3")));
    }

    void m3uPass()
    {
        const QString folder = m_temp->mkdir("lists");
        QByteArray list("\xEF\xBB\xBF#EXTM3U\r\nsub/日本.mp3\r\n\r\n/abs/x.mp3\r\n");
        m_temp->write("lists/list.M3U", list);
        mp3("lists/sub/日本.mp3");
        show(folder);
        QCOMPARE(m_list->GetItemCount(), 2);
        QCOMPARE(m_list->GetItem(0)->FullPath(), folder + "/sub/日本.mp3");
        QCOMPARE(slotPlaylist(0)->item(1)->sourceURL(), QString("/abs/x.mp3"));
        library().Settings().ReadM3u = false;
        show(m_temp->mkdir("empty"));
        show(folder);
        QCOMPARE(m_list->GetItemCount(), 2); // the playing folder keeps its listing
    }

    void m3u8ListsFromLinuxPrograms()
    {
        const QString folder = m_temp->mkdir("linux");
        const QString song = mp3("music/歌 1.mp3");
        const QString other = mp3("music/b.mp3");
        const QByteArray list = "#EXTM3U\n" + QUrl::fromLocalFile(song).toEncoded() + "\n../music/b.mp3\n" +
                                other.toUtf8() + "\n";
        m_temp->write("linux/list.m3u8", list);
        show(folder);
        QStringList paths;
        for (int row = 0; row < m_list->GetItemCount(); ++row)
            paths << m_list->GetItem(row)->FullPath();
        paths.sort();
        QCOMPARE(paths, QStringList({other, other, song}));
    }

    void trackColumnSortsByLeadingNumberAndThirdClickKeepsOrder()
    {
        mp3("tracks/a.mp3", {"", "", "", "10"});
        mp3("tracks/b.mp3", {"", "", "", "2"});
        mp3("tracks/c.mp3", {"", "", "", "3/12"});
        mp3("tracks/d.mp3", {"", "", "", ""});
        // Before any folder is shown a header click only sets the mark.
        library().OnColumnClick(4);
        QCOMPARE(m_list->GetItemCount(), 0);
        library().Settings().SortState = 0;
        library().Settings().UseID3Edit = true; // the track texts as stored
        show(m_temp->file("tracks"));
        library().OnColumnClick(4);
        QCOMPARE(library().Settings().SortState, 1);
        QCOMPARE(library().Settings().SortColumn, 4);
        QCOMPARE(column(4), QStringList({"", "2", "3/12", "10"}));
        QCOMPARE(m_list->SortMarkColumn(), 4);
        QCOMPARE(m_list->SortMarkState(), 1);
        library().OnColumnClick(4);
        QCOMPARE(column(4), QStringList({"10", "3/12", "2", ""}));
        QCOMPARE(m_list->SortMarkState(), 2);
        library().OnColumnClick(4);
        QCOMPARE(library().Settings().SortState, 0);
        QCOMPARE(m_list->SortMarkState(), 0);
        QCOMPARE(column(4), QStringList({"10", "3/12", "2", ""}));
        QStringList playlistOrder;
        for (int i = 0; i < 4; ++i)
            playlistOrder.append(CPathParts(slotPlaylist(0)->item(i)->sourceURL()).Name());
        QCOMPARE(playlistOrder, column(0));
        // Another column starts ascending again.
        library().OnColumnClick(0);
        QCOMPARE(column(0), QStringList({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}));
    }

    void sortOrderIsTheCollatedOrder_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("sortState");
        for (const char* locale : {"jpn", "english", "C"}) {
            QTest::addRow("%s ascending", locale) << locale << 1;
            QTest::addRow("%s descending", locale) << locale << 2;
        }
    }

    // Texts collated once ahead give the order that collating at every comparison gave, equal
    // texts included: the sort places an item in front of every item equal to it.
    void sortOrderIsTheCollatedOrder()
    {
        QFETCH(QString, locale);
        QFETCH(int, sortState);
        const QString previousLocale = RuntimeLocale::current().name();
        QVERIFY(RuntimeLocale::current().set(locale));
        const QStringList titles{"b", "", "B", "a", "ａ", "10", "9", "Ｚ", "さくら", "サクラ", "桜", "ｻｸﾗ", "b",
                                 "\u0001", "x\u200By", "xy", "é", "e", "E", "", "ぱ", "は", "ば", "zz", "A"};
        const RuntimeLocale& collation = RuntimeLocale::current();
        for (const QString& a : titles) {
            for (const QString& b : titles) {
                const int keys = collation.sortKey(a).compare(collation.sortKey(b));
                const int texts = collation.compare(a, b);
                QVERIFY2((keys < 0) == (texts < 0) && (keys > 0) == (texts > 0), qPrintable(a + " / " + b));
            }
        }
        auto playlist = std::make_shared<Playlist>("titles");
        for (int i = 0; i < titles.size(); ++i) {
            const MediaPtr item = m_player->newMedia(m_temp->file(QString::number(i) + ".mp3"));
            item->setItemInfo("Title", titles[i]);
            playlist->appendItem(item);
        }
        library().Settings().SortState = sortState;
        library().SortSlot(CTrackLibrary::DiscSlot, playlist.get(), playlist->count(), 1);
        QStringList sorted;
        for (int i = 0; i < playlist->count(); ++i)
            sorted.append(*playlist->item(i)->getItemInfo("Title"));
        // The reference: the same insertion, collating the texts at each step.
        QStringList expected;
        for (const QString& x : titles) {
            qsizetype at = 0;
            while (at < expected.size()) {
                const int order = collation.compare(expected[at], x);
                if (!(sortState == 1 ? order < 0 : order > 0))
                    break;
                ++at;
            }
            expected.insert(at, x);
        }
        RuntimeLocale::current().set(previousLocale);
        QCOMPARE(sorted, expected);
    }

    void makeShortcutNameCases()
    {
        CTrackItem item;
        item.Path.Split("/m/x.mp3");
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("x.mp3"));
        item.ArtistText = "A";
        item.TitleText = "B";
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("A_B.mp3"));
        item.ArtistText = "";
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("B.mp3"));
        item.ArtistText = "AC/DC";
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("x.mp3"));
        item.ArtistText = "";
        item.TitleText = "Song.MP3";
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("Song.MP3"));
        item.Path.Split("/m/clip.mpeg");
        item.TitleText = "Clip";
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("Clip.mpeg"));
        item.TitleText = "Clip.mpeg";
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("Clip.mpeg"));
        item.Path.Split("/m/noext");
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("Clip.mpeg"));
        item.TitleText = "";
        QCOMPARE(CTrackLibrary::MakeShortcutName(item), QString("noext"));
    }

    void playingRowIsHighlightedTwiceWhenListedTwice()
    {
        mp3("hl/h.mp3");
        mp3("hl2/other.mp3");
        library().Settings().ExtensionList = {"mp3", "mp3"};
        show(m_temp->file("hl"));
        QVERIFY(m_player->currentMedia());
        m_list->resize(700, 200);
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
        const QColor playing(0, 128, 255);
        auto pixelOf = [this](int row) {
            const QRect cell = m_list->visualRect(m_list->Model().index(row, 2));
            const QImage image = m_list->viewport()->grab().toImage();
            return image.pixelColor(cell.right() - 3, cell.center().y());
        };
        QCOMPARE(m_list->GetItemCount(), 2);
        QCOMPARE(pixelOf(0), playing);
        QCOMPARE(pixelOf(1), playing);
        show(m_temp->file("hl2"));
        QCOMPARE(m_list->GetItemCount(), 2);
        QVERIFY(pixelOf(0) != playing);
    }

    void activateShownFolderSwitchesOnce()
    {
        mp3("p1/a.mp3");
        mp3("p2/b.mp3");
        show(m_temp->file("p1"));
        QCOMPARE(library().ActivateShownFolder(), 0);
        show(m_temp->file("p2"));
        QCOMPARE(library().PlayingSlot(), 0);
        QCOMPARE(library().ActivateShownFolder(), 1);
        QCOMPARE(library().PlayingSlot(), 1);
        QCOMPARE(library().PlayingFolder(), m_temp->file("p2") + "/");
        QCOMPARE(m_player->currentPlaylist(), slotPlaylist(1));
        QCOMPARE(library().ActivateShownFolder(), 0);
        // The next browsed folder goes into the slot that is not playing.
        show(m_temp->file("p1"));
        QCOMPARE(library().ListedSlot(), 0);
    }

    void nowPlayingTextsAndSettingsRefill()
    {
        // An ID3v1 tag with a Shift-JIS title: the own reader decodes it with the chosen code page.
        QByteArray v1(128, '\0');
        v1.replace(0, 3, "TAG");
        const QByteArray sjis("\x93\xfa\x96\x7b", 4); // 日本
        v1.replace(3, sjis.size(), sjis);
        v1[127] = char(255);
        const QString path = m_temp->file("np/jp.mp3");
        QDir().mkpath(m_temp->file("np"));
        TestFiles::writeBytes(path, Mp3Fixture::silentFrames(0.1) + v1);
        library().Settings().UseID3Edit = true;
        show(m_temp->file("np"));
        QCOMPARE(column(1), QStringList({"日本"}));

        QSignalSpy texts(&library(), &CTrackLibrary::NowPlayingInfo);
        QString title;
        QCOMPARE(library().UpdateNowPlayingInfo(&title), 1);
        QCOMPARE(title, QString("日本"));
        QCOMPARE(texts.last().at(0).toString(), QString("jp.mp3"));

        ScanSettings settings = library().Settings();
        settings.UseID3Edit = false;
        library().ApplySettings(settings);
        QVERIFY(column(1).first() != "日本");
        QVERIFY(texts.last().at(1).toString() != "日本");
    }

    void discDriveListsTheDiscNotItsFiles()
    {
        mp3("before/a.mp3");
        show(m_temp->file("before"));
        show(m_drive);
        QCOMPARE(library().ListedSlot(), int(CTrackLibrary::DiscSlot));
        QCOMPARE(m_list->GetItemCount(), 2);
        QVERIFY(m_list->GetItem(0)->FileName().endsWith(".cda"));
        PlaylistPtr disc;
        QCOMPARE(library().GetDiscPlaylist(m_temp->file("before") + "/", disc), -1);
        QCOMPARE(library().ActivateShownFolder(), 1);
        QCOMPARE(library().PlayingSlot(), int(CTrackLibrary::DiscSlot));
    }

    void badInputIsSkipped()
    {
        const QString folder = m_temp->mkdir("bad");
        // A name that is not valid UTF-8.
        const QByteArray raw = QFile::encodeName(folder) + "/\xff\xfe.mp3";
        const int fd = ::open(raw.constData(), O_CREAT | O_WRONLY, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        m_temp->write("bad/list.m3u", "nowhere.mp3\n\xff\xfe\n");
        m_temp->write("bad/Rename.txt", QByteArray("\xff\xfe\x00", 3));
        m_temp->write("bad/broken.lnk", "not a shortcut");
        show(folder);
        // The name that is not UTF-8 is listed by its bytes (shown escaped: the tags' code page
        // cannot read them either); the m3u lines are taken as they are.
        QCOMPARE(m_list->GetItemCount(), 3);
        QVERIFY(column(0).contains("nowhere.mp3"));
        const qsizetype rawRow = column(0).indexOf("%FF%FE.mp3");
        QVERIFY(rawRow >= 0);
        QCOMPARE(NativeName::toBytes(m_list->GetItem(int(rawRow))->FullPath()), raw);
        ::unlink(raw.constData());
        // A folder that went away leaves the list empty.
        const QString gone = m_temp->mkdir("gone");
        show(gone);
        QDir(gone).removeRecursively();
        PlaylistPtr playlist;
        QCOMPARE(library().RebuildSlot(1, playlist), 0);
        QCOMPARE(m_list->GetItemCount(), 0);
    }

    void rowDraggedOntoTreeOffersShortcut()
    {
        mp3("drag/x.mp3", {"Title", "Artist", "", ""});
        const QString target = m_temp->mkdir("drop");
        library().Settings().EnableDrag = true;
        show(m_temp->file("drag"));
        QTreeWidgetItem* dropItem = m_tree->SelectPath(target, false);
        QVERIFY(dropItem);
        m_tree->resize(300, 600);
        m_tree->show();
        m_list->resize(600, 200);
        m_list->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tree.get()));
        QVERIFY(QTest::qWaitForWindowExposed(m_list.get()));
        // Scrolled once the tree is laid out: the drop folder may sit below many others, and deep
        // in the tree its row may reach past the right edge, so aim at the part in view.
        m_tree->scrollToItem(dropItem);
        const QRect dropRect = m_tree->visualItemRect(dropItem).intersected(m_tree->viewport()->rect());
        QVERIFY(!dropRect.isEmpty());

        QWidget* viewport = m_list->viewport();
        const QPoint start = m_list->visualRect(m_list->Model().index(0, 1)).center();
        const QPoint over = m_tree->viewport()->mapToGlobal(dropRect.center());
        auto send = [viewport](QEvent::Type type, const QPoint& local, Qt::MouseButtons buttons) {
            QMouseEvent event(type, local, viewport->mapToGlobal(local), Qt::LeftButton, buttons, Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        };
        QSignalSpy began(m_list.get(), &CTrackListCtrl::BeginDrag);
        send(QEvent::MouseButtonPress, start, Qt::LeftButton);
        send(QEvent::MouseMove, start + QPoint(30, 0), Qt::LeftButton);
        QCOMPARE(began.count(), 1);
        send(QEvent::MouseMove, viewport->mapFromGlobal(over), Qt::LeftButton);
        QCOMPARE(m_tree->GetDropHighlight(), dropItem);

        QString proposed;
        QTimer::singleShot(0, [&proposed] {
            auto* dialog = qobject_cast<CShortcutDlg*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            proposed = dialog->FileName;
            dialog->accept();
        });
        MessageBoxRecorder boxes;
        send(QEvent::MouseButtonRelease, viewport->mapFromGlobal(over), Qt::NoButton);
        QCOMPARE(m_tree->GetDropHighlight(), nullptr);
        QCOMPARE(proposed, QString("Artist_Title.mp3"));
        const QFileInfo shortcut(target + "/Artist_Title.mp3.lnk");
        QVERIFY(shortcut.isSymLink());
        QCOMPARE(shortcut.symLinkTarget(), m_temp->file("drag/x.mp3"));

        // With dragging off nothing starts.
        library().Settings().EnableDrag = false;
        show(m_temp->file("drop"));
        show(m_temp->file("drag"));
        send(QEvent::MouseButtonPress, start, Qt::LeftButton);
        send(QEvent::MouseMove, start + QPoint(30, 0), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, start + QPoint(30, 0), Qt::NoButton);
        QCOMPARE(began.count(), 1);
    }
};

SONAVEL_TEST_MAIN(TrackLibraryTest)
#include "TrackLibraryTest.moc"
