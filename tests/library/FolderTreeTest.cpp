#include "player/library/FolderTree.h"
#include "platform/shell/FolderNamespace.h"

#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>

// The folder namespace and the tree over real folders in a temporary directory, with a mount
// table and a device folder of the test's own.
class FolderTreeTest : public QObject
{
    Q_OBJECT

private:
    TempFolder m_temp;

    FolderNamespace::Sources sources(const QByteArray& mounts = "rootfs / overlay rw 0 0\n") const
    {
        FolderNamespace::Sources s;
        s.home = m_temp.mkdir("home");
        s.desktop = m_temp.mkdir("home/Desktop");
        s.mountsFile = m_temp.write("mounts", mounts);
        s.deviceFolder = m_temp.mkdir("dev");
        return s;
    }

    static QStringList childNames(const QList<FolderItem>& items)
    {
        QStringList names;
        for (const FolderItem& item : items)
            names.append(item.displayName);
        return names;
    }

    static QStringList childTexts(const QTreeWidgetItem* item)
    {
        QStringList names;
        for (int i = 0; i < item->childCount(); ++i)
            names.append(item->child(i)->text(0));
        return names;
    }

private slots:
    void mountTableIsDecoded()
    {
        const auto mounts = FolderNamespace::parseMounts("/dev/sdb1 /media/u/My\\040Disk vfat rw 0 0\n"
                                                         "garbage\n"
                                                         "srv:/x /mnt/nfs nfs4 rw 0 0\n");
        QCOMPARE(mounts.size(), 2);
        QCOMPARE(mounts[0].mountPoint, QString("/media/u/My Disk"));
        QCOMPARE(mounts[0].device, QString("/dev/sdb1"));
        QVERIFY(FolderNamespace::isNetworkType(mounts[1].type));
        QVERIFY(!FolderNamespace::isNetworkType("ext4"));
    }

    void desktopListsHomeDesktopFoldersComputerAndNetwork()
    {
        const FolderNamespace::Sources s = sources();
        m_temp.mkdir("home/Desktop/Songs");
        m_temp.mkdir("home/Desktop/.secret");
        m_temp.write("home/Desktop/notes.txt", "x");
        const FolderNamespace folders(s);
        const auto children = folders.children(FolderNamespace::root());
        QVERIFY(children);
        QCOMPARE(childNames(*children), QStringList({"home", "Songs", "コンピュータ", "ネットワーク"}));
        QCOMPARE(children->at(0).kind, FolderItem::Kind::Home);
        QCOMPARE(children->at(2).kind, FolderItem::Kind::Computer);
        QVERIFY(!children->at(2).isFileSystemFolder());
        QCOMPARE(children->at(3).kind, FolderItem::Kind::Network);
    }

    void computerHoldsRootVolumesAndDrives()
    {
        const QString usb = m_temp.mkdir("usb");
        const QString share = m_temp.mkdir("share");
        const QByteArray table = "overlay / overlay rw 0 0\n"
                                 "proc /proc proc rw 0 0\n"
                                 "/dev/sdb1 " + usb.toUtf8() + " vfat rw 0 0\n"
                                 "/dev/vda1 /etc/hosts ext4 rw 0 0\n"
                                 "srv:/export " + share.toUtf8() + " nfs4 rw 0 0\n";
        const FolderNamespace::Sources s = sources(table);
        TestFiles::writeBytes(s.deviceFolder + "/sr0", "");
        const FolderNamespace folders(s);

        const FolderItem computer{FolderItem::Kind::Computer, {}, {}};
        const auto volumes = folders.children(computer);
        QVERIFY(volumes);
        QCOMPARE(volumes->size(), 3);
        QCOMPARE(volumes->at(0).path, QString("/"));
        QCOMPARE(volumes->at(1), (FolderItem{FolderItem::Kind::Volume, usb, {}}));
        QCOMPARE(volumes->at(2), (FolderItem{FolderItem::Kind::OpticalDrive, s.deviceFolder + "/sr0", {}}));
        QVERIFY(!folders.hasSubfolders(volumes->at(2)));

        const auto shares = folders.children(FolderItem{FolderItem::Kind::Network, {}, {}});
        QVERIFY(shares);
        QCOMPARE(shares->size(), 1);
        QCOMPARE(shares->at(0).kind, FolderItem::Kind::NetworkMount);
        QVERIFY(shares->at(0).displayName.contains("srv:/export"));

        // A typed path parses to its volume or share, then folders.
        m_temp.mkdir("usb/a/b");
        const auto levels = folders.parsePath(usb + "/a/b/");
        QCOMPARE(levels.size(), 4);
        QCOMPARE(levels[0].kind, FolderItem::Kind::Computer);
        QCOMPARE(levels[1].path, usb);
        QCOMPARE(levels[3].path, usb + "/a/b");
        m_temp.mkdir("share/x");
        const auto remote = folders.parsePath(share + "/x");
        QCOMPARE(remote.size(), 3);
        QCOMPARE(remote[0].kind, FolderItem::Kind::Network);
        QCOMPARE(remote[1].kind, FolderItem::Kind::NetworkMount);
        const auto drive = folders.parsePath(s.deviceFolder + "/sr0/");
        QCOMPARE(drive.size(), 2);
        QCOMPARE(drive[1].kind, FolderItem::Kind::OpticalDrive);
    }

    void foldersListOnlyVisibleFolders()
    {
        const FolderNamespace folders(sources());
        const QString base = m_temp.mkdir("list");
        m_temp.mkdir("list/b");
        m_temp.mkdir("list/A");
        m_temp.mkdir("list/.hidden");
        m_temp.write("list/file.mp3", "x");
        QFile::link(base + "/missing", base + "/dangling");
        QFile::link(base + "/b", base + "/linked");
        const auto children = folders.children(FolderItem{FolderItem::Kind::Folder, base, "list"});
        QVERIFY(children);
        QCOMPARE(childNames(*children), QStringList({"A", "b", "linked"}));
        QVERIFY(folders.hasSubfolders(FolderItem{FolderItem::Kind::Folder, base, {}}));
        QVERIFY(!folders.hasSubfolders(FolderItem{FolderItem::Kind::Folder, base + "/A", {}}));
        QVERIFY(!folders.children(FolderItem{FolderItem::Kind::Folder, base + "/file.mp3", {}}));
        QVERIFY(folders.parsePath("relative/path").isEmpty());
        QVERIFY(folders.parsePath(base + "/nowhere").isEmpty());
        QVERIFY(folders.parsePath(base + "/file.mp3").isEmpty());
    }

    void rootIsListedOnExpansionWithFlags()
    {
        CFolderTree tree(nullptr, FolderNamespace(sources()));
        QCOMPARE(tree.topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree.topLevelItem(0);
        QCOMPARE(root->text(0), QString("デスクトップ"));
        QCOMPARE(tree.ItemFlags(root), CFolderTree::FlagRoot | CFolderTree::FlagHasSubfolders);
        QCOMPARE(root->childCount(), 0);
        root->setExpanded(true);
        QVERIFY(tree.ItemFlags(root) & CFolderTree::FlagListed);
        const QStringList names = childTexts(root);
        QVERIFY(names.contains("コンピュータ"));
        QVERIFY(names.contains("ネットワーク"));
        for (int i = 0; i < root->childCount(); ++i) {
            const QTreeWidgetItem* child = root->child(i);
            if (child->text(0) == "コンピュータ")
                QCOMPARE(tree.ItemFlags(child) & 7, int(CFolderTree::FlagComputer));
            if (child->text(0) == "ネットワーク")
                QCOMPARE(tree.ItemFlags(child) & 7, int(CFolderTree::FlagNetwork));
            QVERIFY(!child->icon(0).isNull());
        }
        // Expanding again does not list twice.
        root->setExpanded(false);
        root->setExpanded(true);
        QCOMPARE(childTexts(root), names);
    }

    void typedHiddenPathIsSelectedThroughUnlistedLevel()
    {
        CFolderTree tree(nullptr, FolderNamespace(sources()));
        QLineEdit edit;
        tree.SetPathEdit(&edit);
        const QString music = m_temp.mkdir("music");
        m_temp.mkdir("music/visible");
        const QString deep = m_temp.mkdir("music/.hidden/deep");
        QSignalSpy changed(&tree, &CFolderTree::SelectionChanged);

        edit.setText(deep);
        edit.setCursorPosition(0);
        tree.OnFolderPathEntered();
        QCOMPARE(tree.GetSelectedFolderPath(), deep + "/");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(edit.cursorPosition(), int(deep.size()));
        QTreeWidgetItem* selected = tree.currentItem();
        QCOMPARE(selected->text(0), QString("deep"));
        QTreeWidgetItem* hidden = selected->parent();
        QCOMPARE(hidden->text(0), QString(".hidden"));
        // The parent was listed on the way without the hidden folder, then it was inserted.
        QCOMPARE(childTexts(hidden->parent()), QStringList({".hidden", "visible"}));
        QCOMPARE(tree.GetFolderPath(hidden->parent()), music + "/");
        QVERIFY(hidden->parent()->isExpanded());

        // A path that cannot be parsed keeps the selection.
        edit.setText(music + "/nowhere");
        tree.OnFolderPathEntered();
        QCOMPARE(tree.GetSelectedFolderPath(), deep + "/");
        QCOMPARE(tree.SelectPath("not/absolute", true), nullptr);
    }

    void specialItemsHaveNoFolderPath()
    {
        CFolderTree tree(nullptr, FolderNamespace(sources()));
        QTreeWidgetItem* root = tree.topLevelItem(0);
        tree.setCurrentItem(root);
        QCOMPARE(tree.GetSelectedFolderPath(), QString());
        root->setExpanded(true);
        for (int i = 0; i < root->childCount(); ++i) {
            if (root->child(i)->text(0) == "コンピュータ")
                QCOMPARE(tree.GetFolderPath(root->child(i)), QString());
        }
        QCOMPARE(tree.SelectPath("/", false)->text(0), QString("/"));
        QCOMPARE(tree.GetFolderPath(tree.SelectPath("/", false)), QString("/"));
    }

    void folderWithoutSubfoldersLosesExpandButton()
    {
        CFolderTree tree(nullptr, FolderNamespace(sources()));
        const QString box = m_temp.mkdir("box");
        m_temp.mkdir("box/gone");
        m_temp.write("box/song.mp3", "x");
        const QString parent = QFileInfo(box).absolutePath();
        QTreeWidgetItem* parentItem = tree.SelectPath(parent, true);
        QVERIFY(parentItem);
        QTreeWidgetItem* boxItem = nullptr;
        for (int i = 0; i < parentItem->childCount(); ++i) {
            if (parentItem->child(i)->text(0) == "box")
                boxItem = parentItem->child(i);
        }
        QVERIFY(boxItem);
        QVERIFY(tree.ItemFlags(boxItem) & CFolderTree::FlagHasSubfolders);
        QCOMPARE(boxItem->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

        QDir(box).rmdir("gone");
        boxItem->setExpanded(true);
        QCOMPARE(boxItem->childCount(), 0);
        QCOMPARE(tree.ItemFlags(boxItem) & (CFolderTree::FlagHasSubfolders | CFolderTree::FlagListed),
                 int(CFolderTree::FlagListed));
        QCOMPARE(boxItem->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    }

    void f5RebuildsAndSelectsTheSameFolder()
    {
        CFolderTree tree(nullptr, FolderNamespace(sources()));
        const QString target = m_temp.mkdir("f5/target");
        QVERIFY(tree.SelectPath(target, true));
        m_temp.mkdir("f5/target/new");
        QSignalSpy changed(&tree, &CFolderTree::SelectionChanged);
        QTest::keyClick(&tree, Qt::Key_F5);
        QCOMPARE(tree.GetSelectedFolderPath(), target + "/");
        QVERIFY(changed.count() >= 1);
        // The new subfolder is known after the rebuild.
        QTreeWidgetItem* item = tree.currentItem();
        QCOMPARE(item->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        QVERIFY(tree.updatesEnabled());
    }

    void driveRefreshDropsChildrenAndRereads()
    {
        const QString usb = m_temp.mkdir("drive");
        const FolderNamespace::Sources s = sources("overlay / overlay rw 0 0\n/dev/sdc1 " + usb.toUtf8() + " vfat rw 0 0\n");
        CFolderTree tree(nullptr, FolderNamespace(s));
        m_temp.mkdir("drive/one");
        QTreeWidgetItem* item = tree.SelectPath(usb + "/one", true);
        QVERIFY(item);
        QTreeWidgetItem* drive = item->parent();
        QCOMPARE(tree.Entry(drive).kind, FolderItem::Kind::Volume);
        QDir(usb).rmdir("one");
        tree.setCurrentItem(tree.topLevelItem(0));

        tree.RefreshDriveItem(usb + "/");
        QCOMPARE(drive->childCount(), 0);
        QCOMPARE(tree.ItemFlags(drive) & (CFolderTree::FlagHasSubfolders | CFolderTree::FlagListed), 0);
        QVERIFY(!drive->isExpanded());
        QCOMPARE(tree.currentItem(), tree.topLevelItem(0));
    }

    void dropHighlightFollowsTheItem()
    {
        CFolderTree tree(nullptr, FolderNamespace(sources()));
        tree.resize(300, 400);
        tree.show();
        QTreeWidgetItem* root = tree.topLevelItem(0);
        const QPoint inRoot = tree.visualItemRect(root).center();
        QCOMPARE(tree.HitTest(inRoot), root);
        tree.SetDropHighlight(root);
        QCOMPARE(tree.GetDropHighlight(), root);
        QCOMPARE(root->background(0).color(), tree.palette().color(QPalette::Highlight));
        tree.SetDropHighlight(nullptr);
        QCOMPARE(tree.GetDropHighlight(), nullptr);
        QCOMPARE(root->background(0).style(), Qt::NoBrush);
        // A rebuild does not leave a dangling highlight.
        tree.SetDropHighlight(root);
        tree.Initialize();
        QCOMPARE(tree.GetDropHighlight(), nullptr);
    }
};

SONAVEL_TEST_MAIN(FolderTreeTest)
#include "FolderTreeTest.moc"
