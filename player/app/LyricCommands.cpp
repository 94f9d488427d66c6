#include "player/app/LyricCommands.h"

#include "common/ui/MessageBox.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "platform/engine/Player.h"
#include "platform/shell/DetachedProcess.h"
#include "platform/text/NativeFile.h"
#include "platform/text/NativeName.h"
#include "player/app/OnlineLyricCommands.h"
#include "player/app/SonavelDlg.h"
#include "player/app/SonavelStrings.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/KaraokeDlg.h"
#include "player/karaoke/KaraokeOnlineMenu.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/stage/StageCommand.h"
#include "player/karaoke/stage/StageView.h"
#include "player/library/TrackItem.h"
#include "player/library/TrackLibrary.h"
#include "player/library/TrackListCtrl.h"
#include "player/widgets/ScrollStatic.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>

#include <cerrno>
#include <cstring>

namespace {

const QString kReadCaption = QStringLiteral("CSonavelDlg::ReadKaraokeFile");
const QString kEditEndCaption = QStringLiteral("CSonavelDlg::OnKaraokeEditEnd");

// Menu 131: each pop-up's title and its items' ids (0: a separator).
struct PopupResource {
    const char* title;
    std::initializer_list<int> items;
};
const PopupResource kPopups[] = {
    {QT_TRANSLATE_NOOP("Ui", "カラオケアイコン"),
     {CLyricCommands::IdKaraokeShow, 0, CLyricCommands::IdKaraokeNew, CLyricCommands::IdKaraokeEdit, 0,
      CLyricCommands::IdKaraokeDelete, 0, CLyricCommands::IdLyricsSearch, CLyricCommands::IdLyricsPublish}},
    {QT_TRANSLATE_NOOP("Ui", "タイトル"), {CLyricCommands::IdCopyTitle}},
    {QT_TRANSLATE_NOOP("Ui", "アーティスト"), {CLyricCommands::IdCopyArtist}},
    {QT_TRANSLATE_NOOP("Ui", "アルバム"), {CLyricCommands::IdCopyAlbum}},
};

QAction* ActionOf(const QMenu* menu, int id)
{
    for (QAction* action : menu->actions())
        if (action->data().toInt() == id)
            return action;
    return nullptr;
}

} // namespace

CLyricCommands::CLyricCommands(CSonavelDlg& dialog, CScrollStatic& scrollLine)
    : m_dialog(dialog), m_scrollLine(scrollLine), m_karaoke(std::make_unique<CKaraokeDlg>(&dialog))
{
    m_karaoke->SetEditEndedHandler(
        [this](const QString& path, bool savedOrReloaded) { return OnEditEnded(path, savedOrReloaded); });
    m_karaoke->SetClosingHandler([this] { OnKaraokeClosing(); });
    // Stamps and the edit mode's wipe take only the position of the track being edited.
    m_karaoke->SetPositionSource([this]() -> std::optional<double> {
        const Player* player = m_dialog.GetPlayer();
        if (!player || !KaraokeTrackIsOpen())
            return std::nullopt;
        return player->currentPosition();
    });
    m_karaoke->SetTrackOpenCheck([this] { return KaraokeTrackIsOpen(); });
    m_online = std::make_unique<COnlineLyricCommands>(dialog, *this);
    m_stage = new CStageCommand(dialog);
    m_stage->ToggleAction()->setData(IdStageView);
    m_stage->View().SetPositionSource([this]() -> std::optional<double> {
        const Player* player = m_dialog.GetPlayer();
        return player ? std::optional<double>(player->currentPosition()) : std::nullopt;
    });
}

CLyricCommands::~CLyricCommands() = default;

// ---- Lyrics of a starting track ---------------------------------------------------------------

void CLyricCommands::TrackLyricsOnNewTrack(const QString& url, int row)
{
    m_currentLyricPath.clear();
    if (!url.isEmpty()) {
        if (const std::optional<QString> found = m_online->FindLyrics(url, row)) {
            // A file that gave way to the tag's lyrics is not the track's lyric file.
            if (Load(*found, row, true) == Source::File)
                m_currentLyricPath = *found;
            LoadStage(row);
            return;
        }
    }
    if (Load(QString(), row, true) == Source::None)
        m_online->OnTrackWithoutLyrics(url, row);
    LoadStage(row);
}

void CLyricCommands::LoadStage(int row)
{
    CStageView& stage = m_stage->View();
    const CKaraokeStatic& display = *m_karaoke->Display();
    stage.SetLook(display.GetLogFont(), display.Colours());
    const auto [artist, title] = PlayingArtistAndTitle(row);
    stage.SetTrackTexts(title, artist);
    const double duration = CurrentDuration();
    if (!m_currentLyricPath.isEmpty() &&
        stage.LoadFromFile(m_currentLyricPath, m_dialog.Options().KaraokeCodePage, duration))
        return;
    if (const std::optional<QString> tagLyrics = PlayingTagLyrics(); tagLyrics && stage.LoadFromText(*tagLyrics, duration))
        return;
    stage.ClearLyrics();
}

bool CLyricCommands::KaraokeTrackIsOpen() const
{
    return !m_karaokeTrackUrl.isEmpty() && m_karaokeTrackUrl == PlayingUrl();
}

void CLyricCommands::AdoptLyricFile(const QString& path, bool showWindow)
{
    // While tags are edited only the scrolling line takes the file; the window does when editing ends.
    if (showWindow)
        m_scrollLine.SetKaraokeLine(false);
    if (Load(path, PlayingRow(), true) == Source::File)
        m_currentLyricPath = path;
    LoadStage(PlayingRow());
}

bool CLyricCommands::LoadLyrics(const QString& path, int row, bool alsoScrollLine)
{
    return Load(path, row, alsoScrollLine) != Source::None;
}

CLyricCommands::Source CLyricCommands::Load(const QString& path, int row, bool alsoScrollLine)
{
    const double duration = CurrentDuration();
    // A copy: reading a file with a byte-order mark reports its own code page, which must not
    // become the setting for the next file.
    const int lyricCodePage = m_dialog.Options().KaraokeCodePage;
    // While the time tags are edited the karaoke window keeps its lyrics.
    if (m_karaoke->GetMode() == CKaraokeStatic::ModeView) {
        int codePage = lyricCodePage;
        m_karaokeHasTrackLyrics = true;
        m_karaokeTrackUrl = PlayingUrl();
        if (!path.isEmpty() && m_karaoke->LoadFromFile(path, codePage, duration)) {
            if (!m_scrollLine.IsKaraokeLine())
                ShowKaraoke();
        } else {
            const std::optional<QString> tagLyrics = PlayingTagLyrics();
            const auto [artist, title] = PlayingArtistAndTitle(row);
            if (tagLyrics && m_karaoke->LoadFromTagText(*tagLyrics, duration, artist, title, PlayingFilePath())) {
                ShowKaraoke();
                if (alsoScrollLine)
                    m_scrollLine.LoadLyricsText(*tagLyrics, duration);
                return Source::Tag;
            }
            if (!path.isEmpty())
                ShowReadFailed(path, kReadCaption);
            // Nothing of the track before may stay: not in the window, nor for the menu to show.
            m_karaokeHasTrackLyrics = false;
            m_karaoke->ClearLyrics();
            DestroyKaraokeWindow();
            m_scrollLine.ClearLyrics();
            return Source::None;
        }
    }
    if (!alsoScrollLine)
        return Source::File;
    if (path.isEmpty()) {
        // The line must not go on with the lyrics of the track before.
        if (const std::optional<QString> tagLyrics = PlayingTagLyrics();
            tagLyrics && m_scrollLine.LoadLyricsText(*tagLyrics, duration))
            return Source::Tag;
        m_scrollLine.ClearLyrics();
        return Source::None;
    }
    int codePage = lyricCodePage;
    if (m_scrollLine.LoadLyrics(path, codePage, duration))
        return Source::File;
    ShowReadFailed(path, kReadCaption);
    return Source::None;
}

void CLyricCommands::ShowKaraoke()
{
    // A window already open is left where it is, without taking the focus again.
    if (!m_karaoke->IsWindowCreated())
        m_karaoke->Create();
}

void CLyricCommands::ShowReadFailed(const QString& path, const QString& caption)
{
    ShowMessageBox(&m_dialog, StringTable::format(SonavelString::KaraokeReadFailed, {NativeName::displayText(path)}),
                   caption, MB_OK | MB_ICONWARNING);
}

void CLyricCommands::CloseKaraokeUnlessEditing()
{
    if (m_karaoke->GetMode() == CKaraokeStatic::ModeView)
        DestroyKaraokeWindow();
}

void CLyricCommands::DestroyKaraokeWindow()
{
    if (m_karaoke->IsWindowCreated())
        m_karaoke->DestroyWindow();
}

double CLyricCommands::CurrentDuration() const
{
    const MediaPtr media = PlayingMedia();
    return media ? media->duration() : 0;
}

// ---- The karaoke window's notifications -------------------------------------------------------

int CLyricCommands::OnEditEnded(const QString& lyricPath, bool savedOrReloaded)
{
    const bool sameTrack = !m_karaokeTrackUrl.isEmpty() && m_karaokeTrackUrl == PlayingUrl();
    if (sameTrack && savedOrReloaded && !lyricPath.isEmpty()) {
        // The playing track's lyrics were edited. The file the window read or saved them to (its own,
        // a UTF-8 copy, or a new one beside a track whose lyrics were in its tags) is its lyric file.
        m_currentLyricPath = lyricPath;
        int codePage = m_dialog.Options().KaraokeCodePage;
        if (!m_scrollLine.LoadLyrics(m_currentLyricPath, codePage, 0))
            ShowReadFailed(m_currentLyricPath, kEditEndCaption);
        if (const int row = PlayingRow(); row >= 0)
            m_dialog.TrackList()->SetCheck(row, true);
        LoadStage(PlayingRow());
        return 1;
    }
    if (sameTrack && lyricPath == m_currentLyricPath)
        return 1;
    // Another track started while the tags were edited, or the track was given a lyric file
    // meanwhile: the window takes its lyrics now (the tag's when it has no lyric file). Editing is
    // over, so the window is no longer kept out of the loading.
    m_karaoke->Display()->SetMode(CKaraokeStatic::ModeView);
    if (m_currentLyricPath.isEmpty())
        return Load(QString(), PlayingRow(), false) == Source::Tag ? 1 : 0;
    LoadLyrics(m_currentLyricPath, -1, false);
    return m_karaoke->IsWindowCreated() ? 1 : 0;
}

void CLyricCommands::OnKaraokeClosing()
{
    m_scrollLine.SetKaraokeLine(true);
}

// ---- Menu 131 on the track list -------------------------------------------------------------

void CLyricCommands::LoadMenus()
{
    for (size_t index = 0; index < PopupCount; ++index) {
        if (m_menus[index])
            continue;
        auto* menu = new QMenu(Ui::tr(kPopups[index].title), &m_dialog);
        for (const int id : kPopups[index].items) {
            if (id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(StringTable::text(id));
            action->setData(id);
            connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        }
        m_menus[index] = menu;
    }
    // The stage view from the lyric mark's menu, the karaoke window's menu and F11 in both windows.
    for (QMenu* menu : {m_menus[PopupLyricMark], m_online->KaraokeMenu().Menu()}) {
        if (menu->actions().contains(m_stage->ToggleAction()))
            continue;
        menu->addSeparator();
        menu->addAction(m_stage->ToggleAction());
        menu->addMenu(m_stage->ScreenMenu());
    }
    m_dialog.addAction(m_stage->ToggleAction());
    m_karaoke->addAction(m_stage->ToggleAction());
    CTrackListCtrl* list = m_dialog.TrackList();
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, &CLyricCommands::OnContextMenuRequested);
    list->viewport()->installEventFilter(this);
    list->installEventFilter(this);
}

void CLyricCommands::OnContextMenuRequested(const QPoint& viewportPos)
{
    if (const std::optional<Popup> popup = PrepareContextMenu(viewportPos))
        Menu(*popup)->exec(m_dialog.TrackList()->viewport()->mapToGlobal(viewportPos));
}

std::optional<CLyricCommands::Popup> CLyricCommands::PrepareContextMenu(const QPoint& viewportPos)
{
    const CTrackListCtrl* list = m_dialog.TrackList();
    const QModelIndex cell = list->indexAt(viewportPos);
    if (!cell.isValid() || !RowItem(cell.row()))
        return std::nullopt;
    m_contextRow = cell.row();
    switch (cell.column()) {
    case 1: return PopupTitle;
    case 2: return PopupArtist;
    case 3: return PopupAlbum;
    case 0: break;
    default: return std::nullopt;
    }
    if (!list->CheckMarkRect(m_contextRow).contains(viewportPos))
        return std::nullopt;
    const bool found = m_online->FindLyrics(RowItem(m_contextRow)->FullPath(), m_contextRow).has_value();
    const bool tagLyrics = RowHasTagLyrics(m_contextRow);
    const QMenu* menu = Menu(PopupLyricMark);
    // Only lyrics the window holds for the playing track can be shown: none after a failed read.
    ActionOf(menu, IdKaraokeShow)
        ->setEnabled((found || tagLyrics) && m_karaokeHasTrackLyrics && !m_karaoke->IsWindowCreated() &&
                     IsPlayingRow(m_contextRow));
    ActionOf(menu, IdKaraokeNew)->setEnabled(!found);
    ActionOf(menu, IdKaraokeEdit)->setEnabled(found);
    ActionOf(menu, IdKaraokeDelete)->setEnabled(found);
    ActionOf(menu, IdLyricsPublish)->setEnabled(found);
    return PopupLyricMark;
}

void CLyricCommands::OnCommand(int commandId)
{
    switch (commandId) {
    case IdKaraokeShow: ShowKaraokeWindow(); break;
    case IdKaraokeNew: NewLyricFile(); break;
    case IdKaraokeEdit: OpenInEditor(); break;
    case IdKaraokeDelete: DeleteLyricFile(); break;
    case IdCopyTitle: CopyColumn(1); break;
    case IdCopyArtist: CopyColumn(2); break;
    case IdCopyAlbum: CopyColumn(3); break;
    case IdLyricsSearch: m_online->SearchForRow(m_contextRow); break;
    case IdLyricsPublish: m_online->PublishForRow(m_contextRow); break;
    default: break;
    }
}

bool CLyricCommands::eventFilter(QObject* watched, QEvent* event)
{
    // A double click on the lyric mark is the lyric action, never a play of the row.
    CTrackListCtrl* list = m_dialog.TrackList();
    if (event->type() == QEvent::ContextMenu && watched == list && OpenMarkMenuFromKeyboard(*static_cast<QContextMenuEvent*>(event)))
        return true;
    if (event->type() == QEvent::MouseButtonDblClick && watched == list->viewport()) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint pos = mouse->position().toPoint();
        const QModelIndex cell = list->indexAt(pos);
        if (mouse->button() == Qt::LeftButton && cell.isValid() && cell.column() == 0
            && list->CheckMarkRect(cell.row()).contains(pos)) {
            OnLyricMarkDoubleClick(cell.row());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// The menu key (or Shift+F10) on the first column opens the lyric mark's menu of the current row:
// the lyric commands are otherwise reached only by a click on the mark.
bool CLyricCommands::OpenMarkMenuFromKeyboard(const QContextMenuEvent& event)
{
    const QModelIndex current = m_dialog.TrackList()->currentIndex();
    if (event.reason() != QContextMenuEvent::Keyboard || !current.isValid() || current.column() != 0)
        return false;
    OnContextMenuRequested(m_dialog.TrackList()->CheckMarkRect(current.row()).center());
    return true;
}

// ---- The commands -------------------------------------------------------------------------------

void CLyricCommands::ShowKaraokeWindow()
{
    // The window already holds the playing track's lyrics; nothing is loaded.
    m_karaoke->Create();
    m_scrollLine.SetKaraokeLine(false);
}

void CLyricCommands::NewLyricFile()
{
    const CTrackItem* item = RowItem(m_contextRow);
    if (!item)
        return;
    const QString initialText = RowTagLyrics(m_contextRow).value_or(QString());
    if (!CKaraokeData::CreateKaraokeFile(item->FullPath(), item->TitleText, item->ArtistText, initialText)) {
        ShowMessageBox(&m_dialog, StringTable::text(SonavelString::KaraokeCreateFailed), QStringLiteral("OnKaraokeNew"),
                       MB_OK | MB_ICONWARNING);
        return;
    }
    OpenInEditor();
    m_dialog.TrackList()->SetCheck(m_contextRow, true);
}

void CLyricCommands::OpenInEditor()
{
    const CTrackItem* item = RowItem(m_contextRow);
    if (!item)
        return;
    // A command that cannot start is not reported.
    if (const std::optional<QString> found = m_online->FindLyrics(item->FullPath(), m_contextRow))
        StartEditor(m_dialog.Options().KaraokeEditorPath, *found);
}

bool CLyricCommands::StartEditor(const QString& command, const QString& filePath)
{
    QStringList arguments = QProcess::splitCommand(command);
    if (arguments.isEmpty())
        return false;
    const QString program = arguments.takeFirst();
    arguments.append(filePath);
    return DetachedProcess::Start(program, arguments);
}

void CLyricCommands::DeleteLyricFile()
{
    const CTrackItem* item = RowItem(m_contextRow);
    if (!item)
        return;
    const std::optional<QString> found = m_online->FindLyrics(item->FullPath(), m_contextRow);
    if (!found)
        return;
    const int answer = ShowMessageBox(
        &m_dialog, StringTable::format(SonavelString::KaraokeDeleteConfirm, {NativeName::displayText(*found)}),
        QStringLiteral("OnKaraokeDel"), MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES)
        return;
    if (!NativeFile::remove(*found)) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        ShowMessageBox(
            &m_dialog,
            StringTable::format(SonavelString::KaraokeDeleteFailed, {NativeName::displayText(*found), reason}),
            QStringLiteral("OnKaraokeDel"), MB_OK | MB_ICONWARNING);
        return;
    }
    // The mark stays while the row still has lyrics: in its tag, or in another lyric file.
    const bool stillHasLyrics =
        RowHasTagLyrics(m_contextRow) || m_online->FindLyrics(item->FullPath(), m_contextRow).has_value();
    m_dialog.TrackList()->SetCheck(m_contextRow, stillHasLyrics);
}

void CLyricCommands::CopyColumn(int column)
{
    const CTrackItem* item = RowItem(m_contextRow);
    if (!item)
        return;
    const QString text = item->ColumnText(column);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    // Setting is the one step that can fail here (a display without a clipboard): it shows as a
    // clipboard that does not hold the text afterwards.
    if (clipboard->text() != text) {
        const QString reason =
            Ui::tr("クリップボードがテキストを受け付けませんでした (%1)").arg(QGuiApplication::platformName());
        ShowMessageBox(&m_dialog, StringTable::format(SonavelString::ClipboardSetFailed, {reason}),
                       QStringLiteral("SetClipboardData()"), MB_OK | MB_ICONERROR);
    }
}

void CLyricCommands::OnLyricMarkDoubleClick(int row)
{
    if (!IsPlayingRow(row))
        return;
    m_scrollLine.SetKaraokeLine(false);
    LoadLyrics(m_currentLyricPath, row, true);
}

// ---- Rows ---------------------------------------------------------------------------------------

const CTrackItem* CLyricCommands::RowItem(int row) const
{
    return row >= 0 ? m_dialog.TrackList()->GetItem(row) : nullptr;
}

bool CLyricCommands::RowHasTagLyrics(int row) const
{
    const CTrackLibrary* library = m_dialog.Library();
    return library && library->RowHasTagLyrics(row);
}

std::optional<QString> CLyricCommands::RowTagLyrics(int row) const
{
    const CTrackLibrary* library = m_dialog.Library();
    return library ? library->RowTagLyrics(row, m_dialog.Options().KaraokeCodePage) : std::nullopt;
}

std::optional<QString> CLyricCommands::PlayingTagLyrics() const
{
    const CTrackLibrary* library = m_dialog.Library();
    return library ? library->TagLyricsOf(PlayingMedia(), m_dialog.Options().KaraokeCodePage) : std::nullopt;
}

std::pair<QString, QString> CLyricCommands::PlayingArtistAndTitle(int row) const
{
    if (const CTrackItem* item = RowItem(row))
        return {item->ArtistText, item->TitleText};
    const MediaPtr media = PlayingMedia();
    if (!media)
        return {};
    return {media->getItemInfo(QStringLiteral("Author")).value_or(QString()),
            media->getItemInfo(QStringLiteral("Title")).value_or(QString())};
}

MediaPtr CLyricCommands::PlayingMedia() const
{
    const Player* player = m_dialog.GetPlayer();
    return player ? player->currentMedia() : nullptr;
}

QString CLyricCommands::PlayingUrl() const
{
    const MediaPtr media = PlayingMedia();
    return media ? media->sourceURL() : QString();
}

QString CLyricCommands::PlayingFilePath() const
{
    const MediaPtr media = PlayingMedia();
    return media && media->kind() == Media::Kind::File ? media->sourceURL() : QString();
}

int CLyricCommands::PlayingRow() const
{
    const int rows = m_dialog.TrackList()->model()->rowCount();
    for (int row = 0; row < rows; ++row)
        if (IsPlayingRow(row))
            return row;
    return -1;
}

bool CLyricCommands::IsPlayingRow(int row) const
{
    const CTrackItem* item = RowItem(row);
    const MediaPtr media = PlayingMedia();
    return item && media && item->FullPath() == media->sourceURL();
}
