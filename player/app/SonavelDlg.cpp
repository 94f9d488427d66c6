#include "player/app/SonavelDlg.h"

#include "common/ui/AboutDlg.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "platform/profile/Profile.h"
#include "platform/shell/SystemPaths.h"
#include "platform/text/NativeName.h"
#include "platform/varnkit/FolderPathEdit.h"
#include "platform/varnkit/VolSlider.h"
#include "platform/varnkit/WmpSlider.h"
#include "player/app/KaraokeControlsBridge.h"
#include "player/app/LyricCommands.h"
#include "player/app/MprisBridge.h"
#include "player/app/PlayerIcons.h"
#include "player/app/SonavelStrings.h"
#include "player/library/FolderTree.h"
#include "player/library/PictureCtrl.h"
#include "player/library/TrackLibrary.h"
#include "player/library/TrackListCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "player/settings/SettingsKeys.h"
#include "player/widgets/ScrollStatic.h"
#include "player/widgets/TimeDisplay.h"
#include "player/widgets/VerticalSplitterBar.h"
#include "player/widgets/WmpVideoDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolBar>

#include <algorithm>
#include <utility>

using namespace Settings;

namespace {

const QString kMainSection = QString::fromLatin1(MainDlg::Section);

} // namespace

CSonavelDlg::CSonavelDlg(QWidget* parent, StartFolder startFolder)
    : CSizableDialog(Template(), parent, &CSonavelDlg::CreateControl)
{
    m_pendingStart = GetProfileHexString(kMainSection, MainDlg::DefaultFolderPath, SystemPaths::DefaultMusicFolder());
    RegisterSonavelStrings();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_control = std::make_unique<CPlayerControl>(*this);
    CreateToolBar();
    Splitter()->Attach();
    m_lyrics = std::make_unique<CLyricCommands>(*this, *ScrollLine());
    ConnectControls();
    InitDialog();
    if (startFolder == StartFolder::BeforeShowing)
        OpenStartPath();
}

void CSonavelDlg::OpenStartPath()
{
    const QString path = std::exchange(m_pendingStart, QString());
    if (path.isEmpty() || m_destroyed)
        return;
    if (m_startFromArgument)
        OpenPath(path);
    else if (SelectedTreeFolder().isEmpty())
        SelectFolderInTree(path);
}

void CSonavelDlg::paintEvent(QPaintEvent* event)
{
    CSizableDialog::paintEvent(event);
    // After this frame has reached the screen.
    if (!m_pendingStart.isEmpty())
        QMetaObject::invokeMethod(this, &CSonavelDlg::OpenStartPath, Qt::QueuedConnection);
}

CSonavelDlg::~CSonavelDlg()
{
    Destroy();
}

DialogTemplate CSonavelDlg::Template()
{
    using K = ControlKind;
    return DialogTemplate{102,
                          QStringLiteral("Sonavel"),
                          QSize(183, 137),
                          {
                              {IdFolderTree, K::TreeView, QStringLiteral("Tree1"), QRect(0, 0, 45, 68)},
                              {IdFolderPathEdit, K::Edit, QString(), QRect(0, 67, 45, 12)},
                              {IdPositionSlider, K::Static, QString(), QRect(0, 80, 150, 12)},
                              {IdSplitter, K::Static, QString(), QRect(70, 0, 4, 80)},
                              {IdTrackList, K::ListView, QStringLiteral("List1"), QRect(80, 0, 70, 80)},
                              {IdTimeDisplay, K::Static, QString(), QRect(67, 92, 30, 15)},
                              {IdVolumeSlider, K::Static, QString(), QRect(102, 92, 48, 15)},
                              {IdLoopBox, K::CheckBox, Ui::tr("エンドレス再生"), QRect(5, 110, 55, 12)},
                              {IdShuffleBox, K::CheckBox, Ui::tr("シャッフル"), QRect(65, 110, 42, 12)},
                              {IdSettingsButton, K::PushButton, Ui::tr("設 定"), QRect(110, 109, 30, 12)},
                              {IdScrollLine, K::Static, QString(), QRect(0, 122, 140, 14)},
                              {IdThumbnail, K::Static, QString(), QRect(140, 80, 38, 38)},
                          }};
}

QWidget* CSonavelDlg::CreateControl(const DialogControl& control, QWidget* parent)
{
    switch (control.id) {
    case IdFolderTree: return CreateFolderTree(parent);
    case IdTrackList: return CreateTrackList(parent);
    case IdFolderPathEdit: return new CFolderPathEdit(parent);
    case IdPositionSlider: return new CWmpSlider(IdPositionSlider, parent);
    case IdVolumeSlider: return new CVolSlider(IdVolumeSlider, parent);
    case IdSplitter: return new CVerticalSplitterBar(parent);
    case IdTimeDisplay: return new CTimeDisplay(parent);
    case IdScrollLine: return CreateScrollLine(parent);
    case IdThumbnail: return CreateArtworkThumbnail(parent);
    default: return nullptr;
    }
}

CFolderTree* CSonavelDlg::FolderTree() const { return DlgItem<CFolderTree>(this, IdFolderTree); }
CTrackListCtrl* CSonavelDlg::TrackList() const { return DlgItem<CTrackListCtrl>(this, IdTrackList); }
CFolderPathEdit* CSonavelDlg::PathEdit() const { return DlgItem<CFolderPathEdit>(this, IdFolderPathEdit); }
CWmpSlider* CSonavelDlg::PositionSlider() const { return DlgItem<CWmpSlider>(this, IdPositionSlider); }
CVolSlider* CSonavelDlg::VolumeSlider() const { return DlgItem<CVolSlider>(this, IdVolumeSlider); }
CTimeDisplay* CSonavelDlg::TimeDisplay() const { return DlgItem<CTimeDisplay>(this, IdTimeDisplay); }
CVerticalSplitterBar* CSonavelDlg::Splitter() const { return DlgItem<CVerticalSplitterBar>(this, IdSplitter); }
QCheckBox* CSonavelDlg::LoopBox() const { return DlgItem<QCheckBox>(this, IdLoopBox); }
QCheckBox* CSonavelDlg::ShuffleBox() const { return DlgItem<QCheckBox>(this, IdShuffleBox); }
CScrollStatic* CSonavelDlg::ScrollLine() const { return DlgItem<CScrollStatic>(this, IdScrollLine); }
CPictureCtrl* CSonavelDlg::Thumbnail() const { return DlgItem<CPictureCtrl>(this, IdThumbnail); }

void CSonavelDlg::CreateToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setContentsMargins(0, 0, 0, 0);
    m_toolBar->layout()->setContentsMargins(0, 0, 0, 0);
    for (int command : ToolBarCommands) {
        QAction* action = m_toolBar->addAction(PlayerIcons::Transport(command), StringTable::text(command));
        action->setData(command);
        action->setToolTip(StringTable::text(command));
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
    }
    m_toolBar->show();
}

void CSonavelDlg::CreateWindowMenu()
{
    // The window manager's menu cannot be extended: the entry lives in the window's context menu
    // (and on F1), ending with a separator and the close command as the system menu did.
    m_windowMenu = new QMenu(this);
    const QString aboutText = StringTable::text(SonavelString::AboutMenuEntry);
    if (!aboutText.isEmpty()) {
        QAction* about = m_windowMenu->addAction(aboutText, this, &CSonavelDlg::OnAbout);
        about->setData(static_cast<int>(IdAbout));
        m_windowMenu->addSeparator();
    }
    m_windowMenu->addAction(Ui::tr("閉じる(&C)"), this, &CSonavelDlg::Close);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &CSonavelDlg::OnAbout);
}

void CSonavelDlg::ConnectControls()
{
    connect(LoopBox(), &QCheckBox::clicked, this, [this](bool on) { m_control->SetLoop(on); });
    connect(ShuffleBox(), &QCheckBox::clicked, this, [this](bool on) { m_control->SetShuffle(on); });
    connect(DlgItem<QPushButton>(this, IdSettingsButton), &QPushButton::clicked, this, &CSonavelDlg::OnSettingsButton);
    FolderTree()->SetPathEdit(PathEdit());
    connect(PathEdit(), &CFolderPathEdit::folderPathEntered, FolderTree(), &CFolderTree::OnFolderPathEntered);
    connect(Splitter(), &CSplitterBar::layoutReset, this, &CSonavelDlg::OnLayoutReset);
    for (CWmpSlider* slider : {PositionSlider(), static_cast<CWmpSlider*>(VolumeSlider())}) {
        connect(slider, &CWmpSlider::sliderTrack, this, [this](int id, int pos) { m_control->OnSliderTrack(id, pos); });
        connect(slider, &CWmpSlider::sliderSet, this, [this](int id, int pos) { m_control->OnSliderSet(id, pos); });
        connect(slider, &CWmpSlider::sliderCancel, this, [this](int id, int pos) { m_control->OnSliderCancel(id, pos); });
    }
    connect(TrackList(), &QAbstractItemView::doubleClicked, this, &CSonavelDlg::OnTrackListDoubleClick);
    Thumbnail()->installEventFilter(this);
    AcceptPathDrops();
}

void CSonavelDlg::InitDialog()
{
    CreateWindowMenu();
    setWindowIcon(PlayerIcons::Application());
    m_control->CreateEngine();
    CreateLibrary();
    ArrangeControls();
    // The controls below the list came out wider than the template's narrower font made them:
    // the window grows so that the thumbnail at their right end is not cut off.
    if (const int needed = Thumbnail()->x() + Thumbnail()->width(); needed > width()) {
        resize(needed, height());
        ArrangeControls();
    }
    AttachAnchors();
    SetMinTrackSize(QSize(width(), ScrollLine()->height()));
    if (!EnableSaveRestore(kMainSection))
        PlaceAtFirstStart();
    // After the placement: the stored position belongs to the window's stored size.
    InitSplitter();

    m_options.ReadUpToEditorPath();
    PositionSlider()->SetRange(0, 100, true);
    PositionSlider()->SetPos(0);
    const int volume = std::clamp(GetProfileInt(kMainSection, MainDlg::Volume, MainDlg::DefaultVolume), 0, 100);
    VolumeSlider()->SetRange(0, 100, true);
    VolumeSlider()->SetPos(volume);
    if (GetPlayer())
        GetPlayer()->setVolume(volume);
    TimeDisplay()->Attach();
    TimeDisplay()->SetCellCount(5);
    TimeDisplay()->SetText(QStringLiteral("00:00"));

    InitTrackListColumns();
    GetProfileFont(MainDlg::DirTreeFont, m_options.DirTreeFont, 0, 9, false);
    GetProfileFont(MainDlg::DirEditFont, m_options.DirEditFont, 0, 9, false);
    ApplyFonts();

    const bool clip = GetProfileInt(kMainSection, MainDlg::ClipOnDesktop, MainDlg::DefaultClipOnDesktop) != 0;
    SetClipOnDesktop(clip);
    if (VideoDlg())
        VideoDlg()->SetClipOnDesktop(clip);
    SetKaraokeClipOnDesktop(clip);
    if (GetProfileInt(kMainSection, MainDlg::MainAlwaysOnTop, MainDlg::DefaultMainAlwaysOnTop) != 0)
        SetTopmost(true);
    if (GetProfileInt(kMainSection, MainDlg::VideoAlwaysOnTop, MainDlg::DefaultVideoAlwaysOnTop) != 0 && VideoDlg())
        VideoDlg()->SetTopmost(true);
    m_karaokeControls = std::make_unique<CKaraokeControlsBridge>(*this);
    LoadKaraokeMenus();
    m_mpris = std::make_unique<CMprisBridge>(*this);
    StartUpdateTimer();
}

void CSonavelDlg::ArrangeControls()
{
    const auto right = [](const QRect& r) { return r.x() + r.width(); };
    const auto bottom = [](const QRect& r) { return r.y() + r.height(); };
    QWidget* list = TrackList();
    QWidget* splitter = Splitter();
    const QRect listRect = list->geometry();
    splitter->setGeometry(splitter->x(), listRect.y(), splitter->width(), listRect.height());
    const QRect split = splitter->geometry();
    list->setGeometry(right(split), listRect.y(), width() - right(split), listRect.height());

    QWidget* edit = PathEdit();
    const int editHeight = edit->height();
    edit->setGeometry(0, bottom(listRect) - editHeight, split.x(), editHeight);
    FolderTree()->setGeometry(0, listRect.y(), split.x(), edit->y() - listRect.y());

    QWidget* slider = PositionSlider();
    slider->move(0, bottom(listRect));
    const QRect position = slider->geometry();

    const QSize barSize = m_toolBar->sizeHint();
    m_toolBar->setGeometry(0, bottom(position) + 1, barSize.width(), barSize.height());
    const QRect bar = m_toolBar->geometry();

    QWidget* time = TimeDisplay();
    QWidget* volume = VolumeSlider();
    // The read-out and the check boxes grow to what their contents need: the template's sizes
    // were made for narrower fonts and would cut the last digit and the labels.
    const int timeWidth = std::max(time->width(), CTimeDisplay::WidthFor(volume->height(), 5));
    time->setGeometry(right(bar), bar.y(), timeWidth, volume->height());
    volume->move(right(time->geometry()) + 1, bar.y());
    const QRect volumeRect = volume->geometry();
    const int y1 = std::max(bottom(bar), bottom(time->geometry()));

    QWidget* loop = LoopBox();
    for (QWidget* box : {loop, static_cast<QWidget*>(ShuffleBox())})
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
    loop->move(5, y1);
    ShuffleBox()->move(loop->width() + 12, y1);
    QWidget* settings = GetDlgItem(this, IdSettingsButton);
    settings->move(right(volumeRect) - settings->width(), y1);
    const int loopBottom = bottom(loop->geometry());

    const int side = loopBottom - position.y();
    Thumbnail()->setGeometry(right(volumeRect), position.y(), side, side);
    ScrollLine()->setGeometry(0, loopBottom, right(Thumbnail()->geometry()), height() - loopBottom);
}

void CSonavelDlg::AttachAnchors()
{
    AddAnchor(IdFolderTree, AnchorTopLeft, AnchorBottomLeft);
    AddAnchor(IdFolderPathEdit, AnchorBottomLeft, AnchorBottomLeft);
    AddAnchor(IdSplitter, AnchorTopLeft, AnchorBottomLeft);
    AddAnchor(IdTrackList, AnchorTopLeft, AnchorBottomRight);
    for (int id : {IdPositionSlider, IdTimeDisplay, IdVolumeSlider, IdLoopBox, IdShuffleBox, IdSettingsButton, IdThumbnail})
        AddAnchor(id, AnchorBottomLeft, AnchorBottomLeft);
    AddAnchor(IdScrollLine, AnchorBottomLeft, AnchorBottomRight);
    AddAnchor(m_toolBar, AnchorBottomLeft, AnchorNone);
}

void CSonavelDlg::PlaceAtFirstStart()
{
    // The template's size suits the screens of its day; the first start opens where the list
    // shows its columns, in the middle of the screen.
    const QRect screenArea = screen()->availableGeometry();
    QRect placed(QPoint(), QSize(760, 520).boundedTo(screenArea.size() * 0.8).expandedTo(size()));
    placed.moveCenter(screenArea.center());
    PlaceWindow(placed);
}

void CSonavelDlg::InitSplitter()
{
    CVerticalSplitterBar* splitter = Splitter();
    splitter->AddFirstSideControl(IdFolderTree);
    splitter->AddFirstSideControl(IdFolderPathEdit);
    splitter->AddSecondSideControl(IdTrackList);
    const int usable = DialogUnits::toPixels(QSize(UsableSideWidth, 0), this).width();
    splitter->SetRestoredMinimum(usable, usable);
    splitter->RestorePosition();
}

void CSonavelDlg::OnLayoutReset(int)
{
    Reanchor(FolderTree(), AnchorTopLeft, AnchorBottomLeft);
    Reanchor(PathEdit(), AnchorBottomLeft, AnchorBottomLeft);
    Reanchor(Splitter(), AnchorTopLeft, AnchorBottomLeft);
    Reanchor(TrackList(), AnchorTopLeft, AnchorBottomRight);
}

void CSonavelDlg::InitTrackListColumns()
{
    GetProfileFont(MainDlg::FileListFont, m_options.FileListFont, 0, 9, false);
    QStringList headers;
    QList<int> widths;
    for (int column = 0; column < 5; ++column) {
        headers.append(StringTable::text(SonavelString::ColumnFileName + column));
        const int width = GetProfileInt(kMainSection, MainDlg::ColWidKeys[column], MainDlg::DefaultColWid[column]);
        widths.append(std::max(0, width));
    }
    TrackList()->SetColumns(headers, widths);
    m_options.ReadSort();
    ShowSortMark();
}

void CSonavelDlg::ApplyFonts()
{
    TrackList()->setFont(m_options.FileListFont.toQFont());
    FolderTree()->setFont(m_options.DirTreeFont.toQFont());
    PathEdit()->setFont(m_options.DirEditFont.toQFont());
}

void CSonavelDlg::StartUpdateTimer()
{
    const int period =
        GetProfileIntInit(kMainSection, MainDlg::UpdateTimerInterval, MainDlg::DefaultUpdateTimerInterval);
    // A period that is not positive would spin or never fire; such a value falls back to the default.
    m_timerPeriod = period > 0 ? std::min(period, 60000) : MainDlg::DefaultUpdateTimerInterval;
    m_timer.start(m_timerPeriod, this);
}

void CSonavelDlg::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId()) {
        m_control->UpdateTick();
        return;
    }
    CSizableDialog::timerEvent(event);
}

bool CSonavelDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (HandlePathDrop(watched, event))
        return true;
    if (watched == Thumbnail() && event->type() == QEvent::MouseButtonRelease)
        OnArtworkClicked();
    return CSizableDialog::eventFilter(watched, event);
}

void CSonavelDlg::OnCommand(int commandId)
{
    switch (commandId) {
    case IdPlay: m_control->Play(); break;
    case IdStop: m_control->Stop(); break;
    case IdPause: m_control->Pause(); break;
    case IdPrevious: m_control->Previous(); break;
    case IdNext: m_control->Next(); break;
    case IdAbout: OnAbout(); break;
    default: m_lyrics->OnCommand(commandId); break;
    }
}

void CSonavelDlg::OnAbout()
{
    CAboutDlg about(Ui::tr("Sonavelのﾊﾞｰｼﾞｮﾝ情報"), true, this);
    if (GetPlayer())
        about.SetMediaPlayerVersion(GetPlayer()->versionInfo());
    about.exec();
}

void CSonavelDlg::OnWmpOpenState(int)
{
}

QString CSonavelDlg::PlayStateText(int state)
{
    if (state < 0 || state > 11)
        return QString();
    return StringTable::text(SonavelString::PlayStateFirst + state);
}

void CSonavelDlg::OnWmpPlayState(int state)
{
    const QString title = UpdateNowPlayingInfo();
    RefreshArtwork();
    QString caption = PlayStateText(state);
    Player* player = GetPlayer();
    const bool fromPause = m_lastPlayState == 2;
    m_lastPlayState = state;
    switch (state) {
    case 1:
        CloseKaraokeUnlessEditing();
        if (VideoDlg())
            VideoDlg()->hide();
        break;
    case 3: {
        const MediaPtr media = player ? player->currentMedia() : nullptr;
        const QString url = media ? media->sourceURL() : QString();
        const int row = FindPlayingRow(url);
        const bool showPath = m_options.ShowFilePathOnTitleBar != 0 && !url.isEmpty();
        const QString shown = showPath ? NativeName::displayText(url) : title;
        caption = StringTable::format(SonavelString::PlayStatePlaying, {shown});
        LoadLyricsForNewTrack(url, row, fromPause);
        ShowVideoFor(media, shown);
        TrackList()->viewport()->repaint();
        break;
    }
    case 8:
        if (ActivateShownFolder())
            m_control->Play();
        break;
    case 10:
        if (VideoDlg())
            VideoDlg()->hide();
        break;
    default: break;
    }
    setWindowTitle(caption);
}

void CSonavelDlg::ShowVideoFor(const MediaPtr& media, const QString& caption)
{
    CWmpVideoDlg* video = VideoDlg();
    if (!video)
        return;
    const std::optional<QString> type = media ? media->getItemInfo(QStringLiteral("MediaType")) : std::nullopt;
    if (type && *type == QLatin1String("video")) {
        video->setWindowTitle(caption);
        video->show();
    } else {
        video->hide();
    }
}

int CSonavelDlg::FindPlayingRow(const QString& url)
{
    if (url.isEmpty())
        return -1;
    const int rows = TrackListRowCount();
    for (int row = 0; row < rows; ++row) {
        if (TrackListRowPath(row) == url) {
            ScrollTrackListToRow(row);
            return row;
        }
    }
    return -1;
}

void CSonavelDlg::OnWmpCdromChange(int driveIndex)
{
    Player* player = GetPlayer();
    if (!player || !m_control->DetectCdromMediaChange())
        return;
    const Cdrom* drive = player->cdromCollection().item(driveIndex);
    // A drive's root is its device path here.
    if (drive && !drive->driveSpecifier().isEmpty())
        ShowDiscInTrackList(drive->driveSpecifier());
}

void CSonavelDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter on the track list plays its selected row, as a double click does. Enter and Escape
    // never close the main window.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && TrackList()->hasFocus() && TrackList()->GetSelectedRow() >= 0)
        m_control->PlayRow(TrackList()->GetSelectedRow());
    if (enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CSizableDialog::keyPressEvent(event);
}

void CSonavelDlg::accept()
{
}

void CSonavelDlg::reject()
{
}

void CSonavelDlg::contextMenuEvent(QContextMenuEvent* event)
{
    m_windowMenu->exec(event->globalPos());
}

void CSonavelDlg::closeEvent(QCloseEvent* event)
{
    Close();
    event->accept();
}

void CSonavelDlg::EndSession()
{
    Close();
}

void CSonavelDlg::Close()
{
    if (m_destroyed)
        return;
    if (m_options.DelPlaylistOnExit != 0)
        m_control->RemovePlaylistsAtExit();
    Destroy();
    done(QDialog::Rejected);
}

void CSonavelDlg::Destroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_timer.stop();
    m_mpris.reset();
    DestroyKaraokeWindow();
    DestroyArtworkWindow();
    m_library.reset();
    m_karaokeControls.reset();
    m_control->Teardown();
    SaveSettings();
    SavePlacement();
}

void CSonavelDlg::SaveSettings()
{
    const MainWindowSettings& o = m_options;
    WriteProfileFont(MainDlg::DirTreeFont, o.DirTreeFont);
    WriteProfileFont(MainDlg::DirEditFont, o.DirEditFont);
    WriteProfileFont(MainDlg::FileListFont, o.FileListFont);
    const QList<int> widths = TrackList()->ColumnWidths();
    for (int column = 0; column < 5; ++column)
        WriteProfileInt(kMainSection, MainDlg::ColWidKeys[column], widths.value(column));
    WriteProfileInt(kMainSection, MainDlg::SortType, o.Scan.SortState);
    WriteProfileInt(kMainSection, MainDlg::SortCol, o.Scan.SortColumn);
    // Closed before anything came to be listed, the stored folder stays the one to open.
    if (m_pendingStart.isEmpty())
        WriteProfileHexString(kMainSection, MainDlg::DefaultFolderPath, SelectedTreeFolder());
    WriteProfileInt(kMainSection, MainDlg::UseID3Edit, o.Scan.UseID3Edit ? 1 : 0);
    WriteProfileInt(kMainSection, MainDlg::ID3EditCodePage, o.Scan.ID3EditCodePage);
    const QStringList& extensions = o.Scan.ExtensionList;
    WriteProfileInt(kMainSection, MainDlg::RdExtNum, static_cast<int>(extensions.size()));
    for (int i = 0; i < extensions.size(); ++i)
        WriteProfileString(kMainSection, MainWindowSettings::ExtensionKey(i), extensions[i]);
    WriteProfileInt(kMainSection, MainDlg::RdFileLink, o.Scan.ReadShortcuts ? 1 : 0);
    WriteProfileInt(kMainSection, MainDlg::RdFileM3u, o.Scan.ReadM3u ? 1 : 0);
    WriteProfileInt(kMainSection, MainDlg::ShowFilePathOnTitleBar, o.ShowFilePathOnTitleBar);
    WriteProfileInt(kMainSection, MainDlg::DelPlaylistOnExit, o.DelPlaylistOnExit);
    WriteProfileInt(kMainSection, MainDlg::KaraokeCodePage, o.KaraokeCodePage);
    WriteProfileInt(kMainSection, MainDlg::Volume, VolumeSlider()->GetPos());
    WriteProfileInt(kMainSection, MainDlg::ClipOnDesktop, IsClipOnDesktop() ? 1 : 0);
    WriteProfileInt(kMainSection, MainDlg::MainAlwaysOnTop, IsTopmost() ? 1 : 0);
    WriteProfileInt(kMainSection, MainDlg::VideoAlwaysOnTop, m_control->VideoTopmost() ? 1 : 0);
}
