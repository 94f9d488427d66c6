#include "player/library/TrackLibrary.h"

#include "player/library/DeferredDisposal.h"
#include "player/library/FolderTree.h"
#include "player/library/FolderWatch.h"
#include "player/library/LibraryStrings.h"
#include "player/library/ListedAttributes.h"
#include "player/library/ListedMarks.h"
#include "player/library/M3uList.h"
#include "player/library/RenameTable.h"
#include "player/library/TagLyrics.h"
#include "player/library/TrackListCtrl.h"
#include "player/library/WaitCursor.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "platform/engine/Player.h"
#include "platform/shell/ShortcutFile.h"
#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"
#include "platform/text/RuntimeLocale.h"
#include "platform/text/TextFile.h"
#include "platform/text/WToI.h"
#include "player/dialogs/FileNameCheck.h"
#include "player/dialogs/ShortcutDlg.h"
#include "player/karaoke/KaraokeData.h"

#include <QHash>
#include <QLabel>
#include <QScrollBar>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>

namespace {

const QStringList kRenamedExtensions{"dat", "mpg", "mpeg"};
const char* const kSortAttributes[] = {"sourceURL", "Title", "Author", "WM/AlbumTitle", "WM/TrackNumber"};

bool isRenamedExtension(const QString& extension)
{
    return kRenamedExtensions.contains(extension, Qt::CaseInsensitive);
}

QString joinPath(const QString& folder, const QString& name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// "*.<extension>" as the file system matched it: without regard to letter case.
class ExtensionPattern
{
public:
    explicit ExtensionPattern(const QString& extension)
    {
        if (extension.contains('*') || extension.contains('?')) {
            m_wildcard = QRegularExpression(
                QRegularExpression::wildcardToRegularExpression(QStringLiteral("*.") + extension),
                QRegularExpression::CaseInsensitiveOption);
        } else {
            m_suffix = '.' + extension;
        }
    }
    bool matches(const QString& name) const
    {
        if (m_suffix.isEmpty())
            return m_wildcard.match(name).hasMatch();
        return name.endsWith(m_suffix, Qt::CaseInsensitive);
    }

private:
    QString m_suffix;
    QRegularExpression m_wildcard;
};

} // namespace

// The names of a folder's visible entries in the order the file system gives them, each keeping
// the bytes of its name, listed once for every pass of a scan: its files (and links to files),
// and every entry that is not a real folder (links included, dangling ones too).
struct CTrackLibrary::FolderListing {
    explicit FolderListing(const QString& folder)
    {
        for (const NativeFile::Entry& entry : NativeFile::list(folder).value_or(std::vector<NativeFile::Entry>())) {
            if (entry.name.startsWith(u'.'))
                continue;
            if (entry.isFile)
                files.append(entry.name);
            if (!entry.isDirectory || entry.isLink)
                others.append(entry.name);
        }
    }

    QStringList files;
    QStringList others;
};

namespace {

// CPathParts(path).Name() without splitting: the part after the last "/", a dot at its end dropped.
QString nameOf(const QString& path)
{
    QString name = path.mid(path.lastIndexOf(u'/') + 1);
    if (name.endsWith(u'.'))
        name.chop(1);
    return name;
}

QString itemInfo(const Media& media, const char* attribute)
{
    return media.getItemInfo(QString::fromLatin1(attribute)).value_or(QString());
}

// Columns 1 to 4 from the tags, 8-bit texts read in the code page.
void takeTagTexts(CTrackItem& track, const CTagRecord& record, int codePage)
{
    track.TitleText = record.titleText(codePage);
    track.ArtistText = record.artistText(codePage);
    track.AlbumText = record.albumText(codePage);
    track.TrackText = record.trackText(codePage);
}

// Columns 1 to 4 as the engine reports them.
void takeMediaTexts(CTrackItem& track, const Media& media)
{
    track.TitleText = itemInfo(media, "Title");
    track.ArtistText = itemInfo(media, "Author");
    track.AlbumText = itemInfo(media, "WM/AlbumTitle");
    track.TrackText = itemInfo(media, "WM/TrackNumber");
}

} // namespace

const QString CTrackLibrary::PlaylistName = QStringLiteral("SonavelPlayList");

CTrackLibrary::CTrackLibrary(Player& player, CFolderTree& tree, CTrackListCtrl& list, QObject* parent,
                             ScanSettings* settings)
    : QObject(parent), m_player(player), m_tree(tree), m_list(list), m_settings(settings ? *settings : m_ownSettings),
      m_attributes(new CListedAttributes(list, this)), m_marks(new CListedMarks(list.Model(), this)),
      m_folderWatch(new CFolderWatch(this))
{
    RegisterLibraryStrings();
    m_list.SetPlayingUrlSource([this] {
        const MediaPtr media = m_player.currentMedia();
        return media ? media->sourceURL() : QString();
    });
    connect(&m_tree, &CFolderTree::SelectionChanged, this, &CTrackLibrary::ShowFolder);
    connect(m_folderWatch, &CFolderWatch::Changed, this, &CTrackLibrary::OnListedFolderChanged);
    connect(&m_list, &CTrackListCtrl::ColumnClicked, this, &CTrackLibrary::OnColumnClick);
    connect(&m_list, &CTrackListCtrl::BeginDrag, this, &CTrackLibrary::OnBeginDrag);
    connect(&m_list, &CTrackListCtrl::DragMove, this, &CTrackLibrary::OnDragMove);
    connect(&m_list, &CTrackListCtrl::DragEnd, this, &CTrackLibrary::OnDragEnd);
    // The main window repaints the list on every play-state change, so the highlight follows.
    connect(&m_player, &Player::PlayStateChange, m_list.viewport(), qOverload<>(&QWidget::update));
    connect(&m_player, &Player::PlayStateChange, this, &CTrackLibrary::NotePlayingFile);
}

CTrackLibrary::~CTrackLibrary()
{
    // The list outlives the library in the main window; its paints must not reach back here.
    m_list.SetPlayingUrlSource({});
    delete m_dragImage;
}

void CTrackLibrary::ApplySettings(const ScanSettings& settings)
{
    const bool tagsChanged = settings.UseID3Edit != m_settings.UseID3Edit
                             || settings.ID3EditCodePage != m_settings.ID3EditCodePage;
    m_settings = settings;
    NativeName::setDisplayCodePage(m_settings.ID3EditCodePage);
    m_list.SetDragEnabled(m_settings.EnableDrag);
    if (!tagsChanged)
        return;
    int slot = -1;
    PlaylistPtr playlist;
    const int count = ListedPlaylist(slot, playlist);
    FillTrackList(slot, playlist, count);
    UpdateNowPlayingInfo();
}

CTagRecord* CTrackLibrary::Record(int slot, int index) const
{
    if (slot != 0 && slot != 1)
        return nullptr;
    return m_records[size_t(slot)].at(index);
}

MediaPtr CTrackLibrary::ListedItem(int row) const
{
    return m_listedPlaylist && row >= 0 ? m_listedPlaylist->item(row) : nullptr;
}

bool CTrackLibrary::RowHasTagLyrics(int row) const
{
    return TagLyrics::Has(Record(m_listedSlot, row), ListedItem(row).get());
}

std::optional<QString> CTrackLibrary::RowTagLyrics(int row, int codePage) const
{
    if (row < 0)
        return std::nullopt;
    return TagLyrics::Choose(Record(m_listedSlot, row), ListedItem(row).get(), codePage);
}

std::optional<QString> CTrackLibrary::TagLyricsOf(const MediaPtr& media, int codePage) const
{
    if (!media)
        return std::nullopt;
    return TagLyrics::Choose(RecordOf(media->sourceURL()), media.get(), codePage);
}

const CTagRecord* CTrackLibrary::RecordOf(const QString& url) const
{
    for (const int slot : {m_playingSlot, m_listedSlot}) {
        if (slot != 0 && slot != 1)
            continue;
        for (const CTagRecord* record = m_records[size_t(slot)].head(); record; record = record->Next)
            if (record->FileFound && record->FullPath == url)
                return record;
    }
    return nullptr;
}

void CTrackLibrary::ShowFolder()
{
    CWaitCursor wait;
    const QString path = m_tree.GetSelectedFolderPath();
    if (path.isEmpty())
        return;
    m_tree.ShowPathInEdit(path);
    m_list.SetDragEnabled(m_settings.EnableDrag);

    int slot = -1;
    PlaylistPtr playlist;
    int count = 0;
    if (path != m_playingFolder || m_playingSlot < 0) {
        count = GetDiscPlaylist(path, playlist);
        if (count >= 0) {
            slot = DiscSlot;
        } else {
            slot = OtherSlot();
            count = RebuildSlot(slot, playlist);
        }
    } else {
        slot = m_playingSlot;
        count = slot == DiscSlot ? GetDiscPlaylist(path, playlist) : GetSlotPlaylist(slot, playlist);
    }
    count = qMax(count, 0);
    m_listedSlot = slot;
    m_listedFolder = path;
    const bool sorted = SortSlot(slot, playlist.get(), count, m_settings.SortColumn);
    FillTrackList(slot, playlist, count);
    if (!sorted)
        SortWhenRead(m_settings.SortColumn, false);
    WatchListedFolder();
    // The old listing's records and items and the scan's buffers go back to the system.
    CDeferredDisposal::ReturnFreedMemory();

    if (m_playingSlot == -1 && playlist && m_player.setCurrentPlaylist(playlist)) {
        m_playingSlot = slot;
        m_playingFolder = path;
    }
}

int CTrackLibrary::RebuildSlot(int slot, PlaylistPtr& playlist)
{
    CWaitCursor wait;
    playlist.reset();
    const QString folder = m_tree.GetSelectedFolderPath();
    m_list.DeleteAllItems();
    if (folder.isEmpty())
        return 0;
    PlaylistCollection& collection = m_player.playlistCollection();
    std::vector<PlaylistPtr> lists = collection.getByName(PlaylistName);
    // Slot 1 must never share the first playlist with slot 0.
    while (int(lists.size()) <= slot) {
        PlaylistPtr created = collection.newPlaylist(PlaylistName);
        if (!created) {
            ReadSlotTags(slot, nullptr, 0);
            return 0;
        }
        lists.push_back(created);
    }
    playlist = lists[size_t(slot)];
    // The old items are freed later (the playlist holds the last references).
    std::vector<MediaPtr> old;
    old.reserve(size_t(playlist->count()));
    for (int i = 0; i < playlist->count(); ++i)
        old.push_back(playlist->item(i));
    playlist->clear();
    CDeferredDisposal::Dispose(std::move(old));

    const FolderListing listing(folder);
    int count = ScanFolderFiles(folder, listing, *playlist);
    if (m_settings.ReadShortcuts)
        count += ScanShortcuts(folder, listing, *playlist);
    if (m_settings.ReadM3u)
        count += ScanM3uFiles(folder, listing, *playlist);
    count = qMin(count, playlist->count());
    ReadSlotTags(slot, playlist.get(), count);
    return count;
}

bool CTrackLibrary::AppendFile(Playlist& playlist, const QString& path, const QString* title)
{
    const MediaPtr media = m_player.newMedia(path);
    if (!media)
        return false;
    if (title)
        media->setItemInfo(QStringLiteral("Title"), *title);
    return playlist.appendItem(media);
}

int CTrackLibrary::ScanFolderFiles(const QString& folder, Playlist& playlist)
{
    return ScanFolderFiles(folder, FolderListing(folder), playlist);
}

int CTrackLibrary::ScanFolderFiles(const QString& folder, const FolderListing& listing, Playlist& playlist)
{
    CRenameTable renames;
    renames.Load(folder);
    const QStringList& files = listing.files;
    // The files by what follows the last dot of their names, case-folded, in listing order: a
    // plain extension (no wildcard, no dot) takes its files from here instead of testing them all.
    QHash<QString, QList<qsizetype>> byExtension;
    for (qsizetype i = 0; i < files.size(); ++i)
        if (const qsizetype dot = files[i].lastIndexOf(u'.'); dot >= 0)
            byExtension[files[i].sliced(dot + 1).toCaseFolded()].append(i);
    int count = 0;
    for (const QString& extension : m_settings.ExtensionList) {
        if (extension.isEmpty())
            continue;
        QList<qsizetype> matching;
        if (extension.contains(u'*') || extension.contains(u'?') || extension.contains(u'.')) {
            const ExtensionPattern pattern(extension);
            for (qsizetype i = 0; i < files.size(); ++i)
                if (pattern.matches(files[i]))
                    matching.append(i);
        } else {
            matching = byExtension.value(extension.toCaseFolded());
        }
        for (const qsizetype i : matching) {
            const QString& name = files[i];
            const qsizetype dot = name.lastIndexOf(u'.');
            std::optional<QString> title;
            if (dot >= 0 && isRenamedExtension(name.sliced(dot + 1)))
                title = renames.Lookup(NativeName::displayText(name));
            if (AppendFile(playlist, joinPath(folder, name), title ? &*title : nullptr))
                ++count;
        }
    }
    return count;
}

int CTrackLibrary::ScanShortcuts(const QString& folder, Playlist& playlist)
{
    return ScanShortcuts(folder, FolderListing(folder), playlist);
}

int CTrackLibrary::ScanShortcuts(const QString& folder, const FolderListing& listing, Playlist& playlist)
{
    const ExtensionPattern pattern(QStringLiteral("lnk"));
    int count = 0;
    for (const QString& name : listing.others) {
        if (!pattern.matches(name))
            continue;
        const QString shortcutPath = joinPath(folder, name);
        CShortcutFile shortcut;
        if (!shortcut.Read(shortcutPath))
            continue;
        const QString target = shortcut.TargetPath();
        if (shortcut.TargetIsDirectory()) {
            count += ScanFolderFiles(target, playlist);
            continue;
        }
        const QString extension = CPathParts(target).Extension;
        if (!m_settings.ExtensionList.contains(extension, Qt::CaseInsensitive))
            continue;
        if (!shortcut.TargetExists()) {
            const QString text = StringTable::format(LibraryString::ReadShortcutFailed, {shortcutPath, target, shortcutPath});
            if (ShowMessageBox(m_list.window(), text, QStringLiteral("ReadShortcut"), MB_YESNO | MB_ICONWARNING) == IDYES)
                NativeFile::remove(shortcutPath);
            continue;
        }
        std::optional<QString> title;
        if (isRenamedExtension(extension)) {
            // "Song.mpg.lnk" gives "Song".
            QString shortName = CPathParts(shortcutPath).Title;
            const qsizetype dot = shortName.lastIndexOf('.');
            if (dot > 0 && shortName.mid(dot + 1).compare(extension, Qt::CaseInsensitive) == 0)
                shortName.truncate(dot);
            title = shortName;
        }
        if (AppendFile(playlist, target, title ? &*title : nullptr))
            ++count;
    }
    return count;
}

int CTrackLibrary::ScanM3uFiles(const QString& folder, Playlist& playlist)
{
    return ScanM3uFiles(folder, FolderListing(folder), playlist);
}

int CTrackLibrary::ScanM3uFiles(const QString& folder, const FolderListing& listing, Playlist& playlist)
{
    const ExtensionPattern m3u(QStringLiteral("m3u"));
    const ExtensionPattern m3u8(QStringLiteral("m3u8"));
    int count = 0;
    for (const QString& name : listing.files) {
        const bool isM3u8 = m3u8.matches(name);
        if (!isM3u8 && !m3u.matches(name))
            continue;
        const std::optional<QByteArray> bytes = TextFile::readAll(joinPath(folder, name));
        if (!bytes)
            continue;
        const int codePage = RuntimeLocale::current().ansiCodePage();
        for (const QString& path : CM3uList::Entries(*bytes, folder, isM3u8, codePage, NativeFile::exists))
            if (AppendFile(playlist, path, nullptr))
                ++count;
    }
    return count;
}

void CTrackLibrary::ReadSlotTags(int slot, const Playlist* playlist, int count)
{
    if (slot != 0 && slot != 1)
        return;
    CTagRecordChain& chain = m_records[size_t(slot)];
    CDeferredDisposal::Dispose(chain.release());
    for (int i = 0; i < count; ++i) {
        CTagRecord& record = chain.append();
        if (const MediaPtr media = playlist ? playlist->item(i) : nullptr)
            ReadRecordTags(record, *media, i > 0 ? chain.at(i - 1) : nullptr);
    }
}

void CTrackLibrary::ReadRecordTags(CTagRecord& record, const Media& media, const CTagRecord* previous)
{
    const QString url = media.sourceURL();
    if (!url.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive))
        return; // the extension (after the name's last dot) is not "mp3"
    const CPathParts parts(url);
    record.read(previous && previous->Folder == parts.Folder ? previous->Folder : parts.Folder, parts.Name());
    // The same texts as the item's and the previous record's: held once.
    if (record.FullPath == url)
        record.FullPath = url;
}

int CTrackLibrary::GetDiscPlaylist(const QString& path, PlaylistPtr& playlist)
{
    playlist.reset();
    Cdrom* drive = m_player.cdromCollection().getByDriveSpecifier(path);
    if (!drive)
        return -1;
    playlist = drive->playlist();
    return playlist ? playlist->count() : -2;
}

int CTrackLibrary::GetSlotPlaylist(int slot, PlaylistPtr& playlist)
{
    playlist.reset();
    const std::vector<PlaylistPtr> lists = m_player.playlistCollection().getByName(PlaylistName);
    if (slot < 0 || slot >= int(lists.size()))
        return 0;
    playlist = lists[size_t(slot)];
    return playlist->count();
}

std::optional<QStringList> CTrackLibrary::SortKeys(int slot, const Playlist& playlist, int count, int column) const
{
    QStringList keys(count);
    const int codePage = m_settings.ID3EditCodePage;
    for (int i = 0; i < count; ++i) {
        const CTagRecord* record = Record(slot, i);
        if (m_settings.UseID3Edit && record && record->FileFound) {
            switch (column) {
            case 0:
                keys[i] = NativeName::displayText(record->FileName);
                break;
            case 1: keys[i] = record->titleText(codePage); break;
            case 2: keys[i] = record->artistText(codePage); break;
            case 3: keys[i] = record->albumText(codePage); break;
            default: keys[i] = record->trackText(codePage); break;
            }
            continue;
        }
        const MediaPtr media = playlist.item(i);
        if (!media)
            break;
        const bool keyInMemory = column == 0 || (column == 1 && media->hasOwnTitle()) || media->attributesRead();
        if (!keyInMemory)
            return std::nullopt; // the reader has not come to it yet
        keys[i] = column == 0 ? NativeName::displayText(nameOf(media->sourceURL()))
                              : itemInfo(*media, kSortAttributes[qBound(0, column, 4)]);
    }
    return keys;
}

namespace {

// One item's place in the sort: the number of its track text (column 4), else its text made
// ready for collation once, instead of collating the text again at every comparison.
struct SortEntry {
    int number = 0;
    RuntimeLocale::SortKey key;
};

std::vector<SortEntry> sortEntries(const QStringList& texts, int column)
{
    std::vector<SortEntry> entries(size_t(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (column == 4)
            entries[size_t(i)].number = WToI(texts[i]);
        else
            entries[size_t(i)].key = RuntimeLocale::current().sortKey(texts[i]);
    }
    return entries;
}

int compareEntries(const SortEntry& a, const SortEntry& b, int column)
{
    if (column == 4)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    return a.key.compare(b.key);
}

} // namespace

bool CTrackLibrary::SortSlot(int slot, Playlist* playlist, int count, int column)
{
    if (m_settings.SortState == 0 || !playlist)
        return true;
    count = qMin(count, playlist->count());
    const std::optional<QStringList> keys = SortKeys(slot, *playlist, count, column);
    if (!keys)
        return false;
    std::vector<int> order = SortOrder(*keys, column);
    if (std::is_sorted(order.begin(), order.end()))
        return true;
    for (int rest = count; rest < playlist->count(); ++rest)
        order.push_back(rest); // items past `count` keep their places
    if (slot == 0 || slot == 1)
        m_records[size_t(slot)].reorder(order);
    playlist->reorder(order);
    return true;
}

std::vector<int> CTrackLibrary::SortOrder(const QStringList& texts, int column) const
{
    const std::vector<SortEntry> entries = sortEntries(texts, column);
    const bool ascending = m_settings.SortState == 1;
    // The order of a binary insertion that puts each item in front of the keys equal to it:
    // a stable sort of the items taken from last to first.
    // Equal keys keep that order by their indexes, last first.
    std::vector<int> order(size_t(texts.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const int compared = compareEntries(entries[size_t(a)], entries[size_t(b)], column);
        return (ascending ? compared < 0 : compared > 0) || (compared == 0 && a > b);
    });
    return order;
}

void CTrackLibrary::FillTrackList(int slot, const PlaylistPtr& playlist, int count)
{
    m_list.DeleteAllItems();
    m_listedPlaylist = playlist;
    std::vector<CTrackListModel::Row> rows(size_t(qMax(count, 0)));
    std::vector<bool> needsEngine(rows.size());
    const bool useTags = m_settings.UseID3Edit;
    for (int i = 0; i < count; ++i) {
        const CTagRecord* record = Record(slot, i);
        // The engine's tags give the texts, or lyrics the own reader leaves to it.
        needsEngine[size_t(i)] = !(useTags && record && record->FileFound) || record->HasApeTag;
        rows[size_t(i)].complete = false;
    }
    m_attributes->Follow(playlist, std::move(needsEngine));
    const int codePage = m_settings.ID3EditCodePage;
    const QPointer<CTrackLibrary> self(this);
    const auto texts = [self, slot, playlist, useTags, codePage](int i, CTrackListModel::Row& row) {
        if (!self)
            return true;
        const CTagRecord* record = self->Record(slot, i);
        const MediaPtr media = playlist ? playlist->item(i) : nullptr;
        const bool ownTags = useTags && record && record->FileFound;
        if (!row.item) {
            // Made when first shown or asked for: most rows of a long list never are.
            row.item = std::make_unique<CTrackItem>();
            if (ownTags)
                row.item->Path.Split(record->FullPath);
            else if (media && !media->sourceURL().isEmpty())
                row.item->Path.Split(media->sourceURL());
            else
                return true; // the row stays blank
        }
        if (ownTags)
            takeTagTexts(*row.item, *record, codePage);
        else if (media && !media->attributesRead())
            return false; // completed when the reader has come to it
        else if (media)
            takeMediaTexts(*row.item, *media);
        // The mark may need lyrics the engine reads.
        return !media || media->attributesRead() || !TagLyrics::EngineReads(record);
    };
    // A row's mark: the lyrics in its tags, else a lyric file to look for.
    const auto markOf = [self, slot, playlist](int i, const CTrackItem* track) -> std::variant<bool, CListedMarks::Search> {
        if (!self || !track || track->FullPath().isEmpty())
            return false;
        if (TagLyrics::Has(self->Record(slot, i), playlist ? playlist->item(i).get() : nullptr))
            return true;
        return CListedMarks::Search{track->FullPath(), track->ArtistText, track->TitleText};
    };
    // A row asked for is answered at once; painted rows look for lyric files off the GUI thread.
    const auto marks = [markOf](int i, const CTrackListModel::Row& row) {
        const std::variant<bool, CListedMarks::Search> mark = markOf(i, row.item.get());
        const bool* known = std::get_if<bool>(&mark);
        return known ? *known : CListedMarks::Found(std::get<CListedMarks::Search>(mark));
    };
    m_marks->Follow([self, markOf](int i) { return markOf(i, self ? self->m_list.GetItem(i) : nullptr); });
    m_list.Model().setRows(std::move(rows), texts, marks);
}

void CTrackLibrary::SetSortMark(int column)
{
    if (column != m_settings.SortColumn) {
        m_settings.SortColumn = column;
        m_settings.SortState = 1;
    } else {
        m_settings.SortState = (m_settings.SortState + 1) % 3;
    }
    m_list.ShowSortMark(m_settings.SortColumn, m_settings.SortState);
}

void CTrackLibrary::OnColumnClick(int column)
{
    SetSortMark(column);
    if (m_settings.SortState == 0) {
        m_attributes->WhenAllRead([] {}, false); // a sort still waiting for its texts is off
        return;
    }
    CWaitCursor wait;
    int slot = -1;
    PlaylistPtr playlist;
    const int count = ListedPlaylist(slot, playlist);
    const MediaPtr selected = SelectedItem();
    if (SortSlot(slot, playlist.get(), count, column))
        RefillKeepingView(slot, playlist, count, selected);
    else
        SortWhenRead(column, true);
}

void CTrackLibrary::SortWhenRead(int column, bool userAsked)
{
    int slot = -1;
    PlaylistPtr waiting;
    ListedPlaylist(slot, waiting);
    m_attributes->WhenAllRead([this, column, waiting] {
        int slot = -1;
        PlaylistPtr playlist;
        const int count = ListedPlaylist(slot, playlist);
        // Only the listing and the sort that were waiting.
        if (playlist != waiting || column != m_settings.SortColumn || m_settings.SortState == 0)
            return;
        const MediaPtr selected = SelectedItem();
        if (SortSlot(slot, playlist.get(), count, column))
            RefillKeepingView(slot, playlist, count, selected);
    }, userAsked);
}

MediaPtr CTrackLibrary::SelectedItem() const
{
    return ListedItem(m_list.GetSelectedRow());
}

void CTrackLibrary::RefillKeepingView(int slot, const PlaylistPtr& playlist, int count, const MediaPtr& selected)
{
    const int scrolled = m_list.verticalScrollBar()->value();
    FillTrackList(slot, playlist, count);
    if (const int row = selected && playlist ? playlist->indexOf(selected) : -1; row >= 0)
        m_list.SelectRow(row);
    m_list.verticalScrollBar()->setValue(scrolled);
}

int CTrackLibrary::ActivateShownFolder()
{
    const QString path = m_listedFolder;
    if (path.isEmpty() || path == m_playingFolder)
        return 0;
    int slot = DiscSlot;
    PlaylistPtr playlist;
    if (GetDiscPlaylist(path, playlist) < 0) {
        slot = OtherSlot();
        GetSlotPlaylist(slot, playlist);
    }
    if (!playlist)
        return 0;
    if (m_player.isAvailable(QStringLiteral("stop")))
        m_player.stop();
    if (!m_player.setCurrentPlaylist(playlist))
        return 0;
    m_playingSlot = slot;
    m_playingFolder = path;
    return 1;
}

int CTrackLibrary::UpdateNowPlayingInfo(QString* title)
{
    const MediaPtr media = m_player.currentMedia();
    const QString url = media ? media->sourceURL() : QString();
    if (url.isEmpty()) {
        emit NowPlayingInfo(QString(), QString(), QString(), QString(), QString());
        return 0;
    }
    const CTagRecord* found = nullptr;
    if (m_settings.UseID3Edit && (m_playingSlot == 0 || m_playingSlot == 1)) {
        for (CTagRecord* record = m_records[size_t(m_playingSlot)].head(); record; record = record->Next) {
            if (record->FullPath == url) {
                found = record;
                break;
            }
        }
    }
    QString fileName;
    CTrackItem texts;
    if (found && found->FileFound) {
        fileName = NativeName::displayText(found->FileName);
        takeTagTexts(texts, *found, m_settings.ID3EditCodePage);
    } else {
        fileName = NativeName::displayText(CPathParts(url).Name());
        takeMediaTexts(texts, *media);
    }
    emit NowPlayingInfo(fileName, texts.TitleText, texts.ArtistText, texts.AlbumText, texts.TrackText);
    if (title)
        *title = texts.TitleText;
    return 1;
}

void CTrackLibrary::ShowDisc(const QString& driveSpecifier)
{
    const QString root = driveSpecifier.endsWith('/') ? driveSpecifier : driveSpecifier + '/';
    m_tree.RefreshDriveItem(root);
    m_tree.setUpdatesEnabled(false);
    m_tree.SelectPath(root, true);
    m_tree.setUpdatesEnabled(true);
    if (m_tree.GetSelectedFolderPath() != root)
        return;
    PlaylistPtr playlist;
    const int count = qMax(GetDiscPlaylist(root, playlist), 0);
    m_listedSlot = DiscSlot;
    m_listedFolder = root;
    const bool sorted = SortSlot(DiscSlot, playlist.get(), count, m_settings.SortColumn);
    FillTrackList(DiscSlot, playlist, count);
    if (!sorted)
        SortWhenRead(m_settings.SortColumn, false);
    WatchListedFolder();
}

int CTrackLibrary::OtherSlot() const
{
    return (m_playingSlot == 0 || m_playingSlot == 1) ? 1 - m_playingSlot : 0;
}

int CTrackLibrary::ListedPlaylist(int& slot, PlaylistPtr& playlist)
{
    const QString path = m_listedFolder;
    playlist.reset();
    slot = -1;
    if (m_listedSlot < 0)
        return 0; // nothing listed yet
    if (m_playingSlot >= 0 && path == m_playingFolder) {
        slot = m_playingSlot;
        return qMax(slot == DiscSlot ? GetDiscPlaylist(path, playlist) : GetSlotPlaylist(slot, playlist), 0);
    }
    const int discCount = GetDiscPlaylist(path, playlist);
    if (discCount >= 0) {
        slot = DiscSlot;
        return discCount;
    }
    slot = OtherSlot();
    return GetSlotPlaylist(slot, playlist);
}
