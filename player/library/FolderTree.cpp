#include "player/library/FolderTree.h"

#include "platform/text/NativeName.h"
#include "platform/text/RuntimeLocale.h"
#include "player/library/WaitCursor.h"

#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

namespace {

enum Role : int {
    FlagsRole = Qt::UserRole + 1,
    KindRole,
    PathRole,
};

} // namespace

CFolderTree::CFolderTree(QWidget* parent, FolderNamespace folders) : QTreeWidget(parent), m_folders(std::move(folders))
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setIconSize(QSize(16, 16));
    // The one column is as wide as its deepest shown item, so deep folders scroll sideways
    // instead of being cut off at the tree's edge.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(this, &QTreeWidget::itemExpanded, this, &CFolderTree::OnItemExpanded);
    connect(this, &QTreeWidget::currentItemChanged, this, [this] { emit SelectionChanged(); });
    Initialize();
}

void CFolderTree::Initialize()
{
    clear();
    InsertRoot();
}

void CFolderTree::InsertRoot()
{
    auto* root = new QTreeWidgetItem(this);
    ApplyEntry(root, FolderNamespace::root(), FlagRoot | FlagHasSubfolders);
}

QTreeWidgetItem* CFolderTree::SelectPath(const QString& path, bool select)
{
    const QList<FolderItem> levels = m_folders.parsePath(path);
    if (levels.isEmpty())
        return nullptr;
    QTreeWidgetItem* item = WalkTo(levels);
    if (item && select)
        MakeVisibleAndSelect(item);
    return item;
}

QTreeWidgetItem* CFolderTree::WalkTo(const QList<FolderItem>& levels)
{
    QTreeWidgetItem* parent = topLevelItem(0);
    if (!parent)
        return nullptr;
    ListChildren(parent);
    bool belowNetwork = false;
    QTreeWidgetItem* item = nullptr;
    for (const FolderItem& level : levels) {
        item = FindChild(parent, level);
        if (item) {
            if (level.kind == FolderItem::Kind::Network)
                belowNetwork = true;
            else if (!belowNetwork)
                ListChildren(item);
        } else {
            // Hidden folders and folders below the network are reached without listing them.
            item = InsertItem(parent, level, true);
        }
        parent = item;
    }
    return item;
}

void CFolderTree::MakeVisibleAndSelect(QTreeWidgetItem* item)
{
    m_populate = false;
    for (QTreeWidgetItem* ancestor = item->parent(); ancestor; ancestor = ancestor->parent())
        ancestor->setExpanded(true);
    setCurrentItem(item);
    scrollTo(indexFromItem(item)); // scrollToItem() would pass by the override below
    m_populate = true;
}

void CFolderTree::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTreeWidget::scrollTo(index, hint);
    if (!index.isValid())
        return;
    // The view scrolls sideways only to the column's start; deep in a narrow tree an item's
    // name would stay beyond the right edge. Bring its branch mark and icon in from the left.
    // The column's width counts only the rows in view: measure it again now they are.
    header()->resizeSections(QHeaderView::ResizeToContents);
    updateGeometries();
    const QRect label = visualRect(index);
    if (label.left() >= 0 && label.left() + iconSize().width() <= viewport()->width())
        return;
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(bar->value() + label.left() - indentation());
}

QString CFolderTree::GetSelectedFolderPath() const
{
    return GetFolderPath(currentItem());
}

QString CFolderTree::GetFolderPath(const QTreeWidgetItem* item) const
{
    if (!item)
        return QString();
    const QString path = item->data(0, PathRole).toString();
    if (path.isEmpty())
        return QString();
    return path.endsWith('/') ? path : path + '/';
}

void CFolderTree::RefreshDriveItem(const QString& path)
{
    QTreeWidgetItem* item = SelectPath(path, false);
    if (!item)
        return;
    item->setExpanded(false);
    qDeleteAll(item->takeChildren());
    const FolderItem entry = m_folders.reload(Entry(item));
    ApplyEntry(item, entry, FlagsFor(entry) | (m_folders.hasSubfolders(entry) ? FlagHasSubfolders : 0));
}

void CFolderTree::SyncChildren(const QString& path)
{
    QTreeWidgetItem* item = SelectPath(path, false);
    if (!item)
        return;
    const int flags = ItemFlags(item);
    if (!(flags & FlagListed)) {
        const bool has = m_folders.hasSubfolders(Entry(item));
        SetItemFlags(item, has ? flags | FlagHasSubfolders : flags & ~FlagHasSubfolders);
        return;
    }
    const std::optional<QList<FolderItem>> children = m_folders.children(Entry(item));
    if (!children)
        return;
    for (int i = item->childCount() - 1; i >= 0; --i)
        if (!children->contains(Entry(item->child(i))))
            delete item->takeChild(i);
    for (const FolderItem& child : *children)
        if (!FindChild(item, child))
            InsertItem(item, child, true);
    if (children->isEmpty())
        SetItemFlags(item, ItemFlags(item) & ~FlagHasSubfolders);
}

void CFolderTree::Refresh()
{
    const QString selected = GetSelectedFolderPath();
    setUpdatesEnabled(false);
    Initialize();
    if (!selected.isEmpty())
        SelectPath(selected, true);
    setUpdatesEnabled(true);
}

QTreeWidgetItem* CFolderTree::HitTest(const QPoint& point) const
{
    return itemAt(point);
}

void CFolderTree::SetDropHighlight(QTreeWidgetItem* item)
{
    if (QTreeWidgetItem* old = GetDropHighlight(); old && old != item) {
        old->setData(0, Qt::BackgroundRole, QVariant());
        old->setData(0, Qt::ForegroundRole, QVariant());
    }
    m_dropHighlight = item ? QPersistentModelIndex(indexFromItem(item)) : QPersistentModelIndex();
    if (item) {
        item->setBackground(0, palette().brush(QPalette::Highlight));
        item->setForeground(0, palette().brush(QPalette::HighlightedText));
    }
}

QTreeWidgetItem* CFolderTree::GetDropHighlight() const
{
    return m_dropHighlight.isValid() ? itemFromIndex(m_dropHighlight) : nullptr;
}

int CFolderTree::ItemFlags(const QTreeWidgetItem* item) const
{
    return item ? item->data(0, FlagsRole).toInt() : 0;
}

FolderItem CFolderTree::Entry(const QTreeWidgetItem* item) const
{
    if (!item)
        return FolderItem();
    return FolderItem{FolderItem::Kind(item->data(0, KindRole).toInt()), item->data(0, PathRole).toString(), item->text(0)};
}

void CFolderTree::ShowPathInEdit(const QString& path)
{
    m_pathInEdit = path;
    if (m_pathEdit)
        m_pathEdit->setText(NativeName::displayText(path));
}

void CFolderTree::OnFolderPathEntered()
{
    if (!m_pathEdit)
        return;
    // The shown text of a name that is not UTF-8 is no path: the folder shown is meant.
    const QString typed = m_pathEdit->text();
    const bool shownUnchanged = typed == NativeName::displayText(m_pathInEdit);
    setUpdatesEnabled(false);
    SelectPath(shownUnchanged ? m_pathInEdit : typed, true);
    setUpdatesEnabled(true);
    m_pathEdit->end(false);
}

void CFolderTree::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        Refresh();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CFolderTree::OnItemExpanded(QTreeWidgetItem* item)
{
    if (m_populate)
        ListChildren(item);
}

void CFolderTree::ListChildren(QTreeWidgetItem* item)
{
    const int flags = ItemFlags(item);
    if ((flags & FlagListed) || !(flags & FlagHasSubfolders))
        return;
    CWaitCursor wait;
    qDeleteAll(item->takeChildren());
    const std::optional<QList<FolderItem>> children = m_folders.children(Entry(item));
    if (!children)
        return; // tried again at the next expansion
    for (const FolderItem& child : *children)
        InsertItem(item, child, false);
    int listed = ItemFlags(item) | FlagListed;
    if (children->isEmpty())
        listed &= ~FlagHasSubfolders;
    SetItemFlags(item, listed);
}

QTreeWidgetItem* CFolderTree::InsertItem(QTreeWidgetItem* parent, const FolderItem& entry, bool sorted)
{
    int index = parent->childCount();
    if (sorted && entry.kind == FolderItem::Kind::Folder) {
        const RuntimeLocale& locale = RuntimeLocale::current();
        for (int i = 0; i < parent->childCount(); ++i) {
            const QTreeWidgetItem* sibling = parent->child(i);
            if (sibling->data(0, KindRole).toInt() == int(FolderItem::Kind::Folder)
                && locale.compareNoCase(sibling->text(0), entry.displayName) > 0) {
                index = i;
                break;
            }
        }
    }
    auto* item = new QTreeWidgetItem();
    ApplyEntry(item, entry, FlagsFor(entry) | (m_folders.hasSubfolders(entry) ? FlagHasSubfolders : 0));
    parent->insertChild(index, item);
    if (!(ItemFlags(parent) & FlagHasSubfolders) && !(ItemFlags(parent) & FlagRoot))
        SetItemFlags(parent, ItemFlags(parent) | FlagHasSubfolders);
    return item;
}

void CFolderTree::ApplyEntry(QTreeWidgetItem* item, const FolderItem& entry, int flags)
{
    item->setText(0, entry.displayName);
    item->setToolTip(0, NativeName::displayText(entry.path));
    item->setIcon(0, ItemIcon(entry));
    item->setData(0, KindRole, int(entry.kind));
    item->setData(0, PathRole, entry.path);
    SetItemFlags(item, flags);
}

void CFolderTree::SetItemFlags(QTreeWidgetItem* item, int flags)
{
    item->setData(0, FlagsRole, flags);
    item->setChildIndicatorPolicy((flags & FlagHasSubfolders) ? QTreeWidgetItem::ShowIndicator
                                                               : QTreeWidgetItem::DontShowIndicator);
}

QTreeWidgetItem* CFolderTree::FindChild(QTreeWidgetItem* parent, const FolderItem& entry) const
{
    for (int i = 0; i < parent->childCount(); ++i) {
        QTreeWidgetItem* child = parent->child(i);
        if (Entry(child) == entry)
            return child;
    }
    return nullptr;
}

int CFolderTree::FlagsFor(const FolderItem& entry)
{
    switch (entry.kind) {
    case FolderItem::Kind::Computer:
        return FlagComputer;
    case FolderItem::Kind::Network:
        return FlagNetwork;
    default:
        return 0;
    }
}

QIcon CFolderTree::ItemIcon(const FolderItem& entry)
{
    // The normal look and the selected (open) look in one icon, shared per kind of entry.
    static QHash<int, QIcon> cache;
    const int key = int(entry.kind);
    if (auto found = cache.constFind(key); found != cache.constEnd())
        return *found;
    const QIcon closed = FolderNamespace::icon(entry, false);
    const QIcon open = FolderNamespace::icon(entry, true);
    QIcon combined;
    for (const QSize& size : {QSize(16, 16), QSize(32, 32)}) {
        combined.addPixmap(closed.pixmap(size), QIcon::Normal);
        combined.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    cache.insert(key, combined);
    return combined;
}
