#include "player/karaoke/KaraokeDlg.h"

#include "common/ui/MessageBox.h"
#include "common/ui/PathParts.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "platform/profile/Profile.h"
#include "platform/text/CodePage.h"
#include "platform/text/NativeName.h"
#include "player/karaoke/KaraokeControlStrings.h"
#include "player/karaoke/KaraokeData.h"
#include "player/karaoke/KaraokeFollower.h"
#include "player/karaoke/KaraokeStatic.h"
#include "player/karaoke/KaraokeStrings.h"
#include "player/karaoke/KaraokeStrip.h"
#include "player/karaoke/LyricEncoding.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace {

const QString kAlwaysOnTopKey = QStringLiteral("AlwaysOnTop");
constexpr int kDefaultAlwaysOnTop = 1;

const char* const kTapKeysHelp = QT_TRANSLATE_NOOP("Ui", "編集中、再生しながら\n"
                                                         "F8: 次の行頭に再生位置のタイムタグを打つ\n"
                                                         "F9: 次の語に再生位置のタイムタグを打つ\n"
                                                         "F7: 一つ前に打った位置へ戻る\n");
const char* const kTrackNotOpenTip = QT_TRANSLATE_NOOP("Ui", "再生中の曲はこの歌詞の曲ではないため、タイムタグは打てません。\n"
                                                             "この歌詞の曲を再生すると打てるようになります。\n\n");
// Where a replay of the selected tag starts, in seconds before it.
constexpr double kReplayLeadSeconds = 2.0;

// One axis of the display: the client extent and the content extent along it.
struct Axis {
    int client = 0;
    int content = 0;
    int Range() const { return std::max(0, content - client); }
};

Axis AxisOf(const CKaraokeStatic& display, Qt::Orientation orientation)
{
    const QSize client = display.ClientSize();
    const QSize content = display.ContentSize();
    return orientation == Qt::Horizontal ? Axis{client.width(), content.width()}
                                         : Axis{client.height(), content.height()};
}

int OffsetAlong(const CKaraokeStatic& display, Qt::Orientation orientation)
{
    const QPoint offset = display.GetScrollOffset();
    return orientation == Qt::Horizontal ? offset.x() : offset.y();
}

void SetOffsetAlong(CKaraokeStatic& display, Qt::Orientation orientation, int value)
{
    QPoint offset = display.GetScrollOffset();
    (orientation == Qt::Horizontal ? offset.rx() : offset.ry()) = value;
    display.SetScrollOffset(offset);
}

// Moves `low`/`high` (an edge pair of one axis) by `growth` as a fit to content does.
void GrowAxis(int& low, int& high, int growth, int deskLow, int deskHigh, bool clip)
{
    if (!clip) {
        high += growth;
        return;
    }
    if (high == deskHigh) {
        low -= growth;
    } else {
        high += growth;
        if (high > deskHigh) {
            low -= high - deskHigh;
            high = deskHigh;
        }
    }
    low = std::max(low, deskLow);
}

} // namespace

CKaraokeDlg::CKaraokeDlg(QWidget* owner) : CSizableDialog(Template(), owner, &CKaraokeDlg::CreateControl)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setModal(false);
    RegisterKaraokeStrings();
    RegisterKaraokeControlStrings();
    m_display = DlgItem<CKaraokeStatic>(this, IdDisplay);
    m_title = DlgItem<QLineEdit>(this, IdTitle);
    m_artist = DlgItem<QLineEdit>(this, IdArtist);
    m_alwaysOnTop = DlgItem<QCheckBox>(this, IdAlwaysOnTop);
    m_edit = DlgItem<QPushButton>(this, IdEdit);
    m_close = DlgItem<QPushButton>(this, IdClose);
    m_edit->setCheckable(true);
    m_edit->setToolTip(Ui::tr(kTapKeysHelp) + StringTable::text(KaraokeControlString::EditModeKeys));
    m_strip = DlgItem<CKaraokeStrip>(this, IdStrip);
    m_follower = new CKaraokeFollower(*m_display, [this](const QPoint& offset) { ScrollTo(offset); });
    FitTextsToFont();
    AttachControls();
    ConnectControls();
    ResetEditControls();
    m_edit->setEnabled(false);
}

CKaraokeDlg::~CKaraokeDlg()
{
    // The owner destroys the window first (with its question); if it did not, the settings are
    // still kept, but no question is asked while everything goes.
    if (m_created)
        WriteProfileInt(QString::fromLatin1(Section), kAlwaysOnTopKey, IsTopmost() ? 1 : 0);
}

DialogTemplate CKaraokeDlg::Template()
{
    return DialogTemplate{
        TemplateId,
        Ui::tr("カラオケ表示"),
        QSize(193, 164),
        {
            {IdTitleLabel, ControlKind::Label, Ui::tr("タイトル"), QRect(7, 7, 25, 10)},
            {IdTitle, ControlKind::ReadOnlyEdit, QString(), QRect(35, 3, 50, 20)},
            {IdArtistLabel, ControlKind::Label, Ui::tr("アーティスト"), QRect(95, 7, 40, 10)},
            {IdArtist, ControlKind::ReadOnlyEdit, QString(), QRect(135, 3, 55, 20)},
            {IdDisplay, ControlKind::Static, QString(), QRect(0, 25, 185, 70)},
            {IdVScroll, ControlKind::Static, QString(), QRect(185, 25, 8, 70)},
            {IdHScroll, ControlKind::Static, QString(), QRect(0, 95, 185, 8)},
            // The karaoke controls between the lyrics and the window's own buttons.
            {IdStrip, ControlKind::Static, QString(), QRect(3, 105, 187, 34)},
            {IdAlwaysOnTop, ControlKind::CheckBox, Ui::tr("常に前面に表示"), QRect(10, 146, 60, 10)},
            {IdEdit, ControlKind::PushButton, Ui::tr("編 集"), QRect(75, 144, 45, 16)},
            {IdClose, ControlKind::PushButton, Ui::tr("閉じる"), QRect(130, 144, 50, 16)},
        },
    };
}

QWidget* CKaraokeDlg::CreateControl(const DialogControl& control, QWidget* parent)
{
    switch (control.id) {
    case IdDisplay: return new CKaraokeStatic(parent);
    case IdVScroll: return new QScrollBar(Qt::Vertical, parent);
    case IdHScroll: return new QScrollBar(Qt::Horizontal, parent);
    case IdStrip: return new CKaraokeStrip(parent);
    default: return nullptr;
    }
}

void CKaraokeDlg::FitTextsToFont()
{
    // The template's widths were made for a narrower font than the Japanese fonts here: the
    // labels and the check box take the width their text needs, the edit boxes beside them
    // start after them, and the check box moves left where the edit button leaves no room.
    constexpr int gap = 4;
    for (const int id : {int(IdTitleLabel), int(IdArtistLabel), int(IdAlwaysOnTop)}) {
        QWidget* control = GetDlgItem(this, id);
        control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
    }
    const auto startAfter = [](QWidget* edit, const QWidget* label) {
        QRect rect = edit->geometry();
        rect.setLeft(std::max(rect.left(), label->geometry().right() + gap));
        edit->setGeometry(rect);
    };
    startAfter(m_title, GetDlgItem(this, IdTitleLabel));
    startAfter(m_artist, GetDlgItem(this, IdArtistLabel));
    const int overlap = m_alwaysOnTop->geometry().right() + gap - m_edit->geometry().left();
    if (overlap > 0)
        m_alwaysOnTop->move(std::max(gap, m_alwaysOnTop->x() - overlap), m_alwaysOnTop->y());
}

void CKaraokeDlg::AttachControls()
{
    AddAnchor(IdTitle, AnchorTopLeft, AnchorTopCenter);
    AddAnchor(IdArtistLabel, AnchorTopCenter, AnchorNone);
    AddAnchor(IdArtist, AnchorTopCenter, AnchorTopRight);
    AddAnchor(IdDisplay, AnchorTopLeft, AnchorBottomRight);
    AddAnchor(IdVScroll, AnchorTopRight, AnchorBottomRight);
    AddAnchor(IdHScroll, AnchorBottomLeft, AnchorBottomRight);
    AddAnchor(IdStrip, AnchorBottomLeft, AnchorBottomRight);
    AddAnchor(IdAlwaysOnTop, AnchorBottomLeft, AnchorNone);
    AddAnchor(IdEdit, AnchorBottomRight, AnchorNone);
    AddAnchor(IdClose, AnchorBottomRight, AnchorNone);
}

void CKaraokeDlg::ConnectControls()
{
    connect(m_close, &QPushButton::clicked, this, &CKaraokeDlg::reject);
    connect(m_edit, &QPushButton::clicked, this, &CKaraokeDlg::OnEditButton);
    connect(m_alwaysOnTop, &QCheckBox::clicked, this, [this](bool checked) { SetTopmost(checked); });
    for (QScrollBar* bar : {VScroll(), HScroll()}) {
        connect(bar, &QScrollBar::actionTriggered, this, [this, bar](int action) { OnScrollAction(bar, action); });
        connect(bar, &QScrollBar::valueChanged, this,
                [this, bar](int value) { SetOffsetAlong(*m_display, bar->orientation(), value); });
        bar->installEventFilter(this);
    }
    m_display->installEventFilter(this);
    connect(m_display, &CKaraokeStatic::LayoutChanged, this, [this] {
        if (m_created)
            UpdateScrollBars();
    });
}

QScrollBar* CKaraokeDlg::VScroll() const
{
    return DlgItem<QScrollBar>(this, IdVScroll);
}

QScrollBar* CKaraokeDlg::HScroll() const
{
    return DlgItem<QScrollBar>(this, IdHScroll);
}

void CKaraokeDlg::SetPositionSource(std::function<std::optional<double>()> engineSeconds)
{
    m_display->SetPositionSource(std::move(engineSeconds));
}

void CKaraokeDlg::SetTrackOpenCheck(std::function<bool()> isOpen)
{
    m_trackOpen = std::move(isOpen);
    RefreshEditTip();
}

void CKaraokeDlg::RefreshEditTip()
{
    const bool closed = !IsTrackOpen();
    if (closed == m_tipSaysClosed)
        return;
    m_tipSaysClosed = closed;
    const QString keys = Ui::tr(kTapKeysHelp) + StringTable::text(KaraokeControlString::EditModeKeys);
    m_edit->setToolTip(closed ? Ui::tr(kTrackNotOpenTip) + keys : keys);
}

void CKaraokeDlg::SetKaraokeActions(CKaraokeActions& actions)
{
    m_strip->Bind(actions);
    addActions(actions.All());
    // The strip's rows need more room than the template gives them.
    const int wanted = m_strip->minimumSizeHint().width() + (width() - m_strip->width());
    if (wanted > minimumWidth()) {
        SetMinTrackSize(QSize(wanted, minimumHeight()));
        resize(std::max(width(), wanted), height());
    }
}

bool CKaraokeDlg::ReplaySelectedTag()
{
    const auto word = m_display->TapCursorWord();
    if (!m_seek || !word || !word->block || !IsTrackOpen())
        return false;
    m_seek(std::max(0.0, word->block->StartTime() / 1000.0 - kReplayLeadSeconds));
    return true;
}

// ---- Creating and destroying the window ----------------------------------------------------

void CKaraokeDlg::PlaceBesideOwner()
{
    // Opened for the first time, the window goes below the main window, or else to its right,
    // where it does not cover the list; where neither fits, the desktop places it.
    const QWidget* owner = parentWidget();
    if (!owner || !owner->isVisible())
        return;
    const QRect area = owner->screen()->availableGeometry();
    const QRect frame = owner->frameGeometry();
    // A window's position is its frame's; this one's frame is taken to be as thick as the owner's.
    const QSize outer = size() + (frame.size() - owner->size());
    const QRect below(QPoint(frame.left(), frame.bottom() + 1), outer);
    const QRect right(QPoint(frame.right() + 1, frame.top()), outer);
    if (area.contains(below))
        move(below.topLeft());
    else if (area.contains(right))
        move(right.topLeft());
}

void CKaraokeDlg::Create()
{
    if (m_created) {
        show();
        raise();
        activateWindow();
        return;
    }
    if (!EnableSaveRestore(QString::fromLatin1(Section))) {
        ApplyFirstSize();
        PlaceBesideOwner();
    }
    const bool topmost = GetProfileInt(QString::fromLatin1(Section), kAlwaysOnTopKey, kDefaultAlwaysOnTop) != 0;
    SetTopmost(topmost);
    m_alwaysOnTop->setChecked(topmost);
    ResetEditControls();
    ShowDocumentTexts();
    // A file whose tags run backwards, loaded while the window was closed, is not editable either.
    m_edit->setEnabled(m_editable);
    m_display->SetMode(CKaraokeStatic::ModeView, true);
    m_created = true;
    show();
    UpdateScrollBars();
    m_close->setFocus(Qt::OtherFocusReason);
}

void CKaraokeDlg::DestroyWindow()
{
    if (!m_created)
        return;
    SavePlacement();
    if (m_display->IsModified() || TextsDiffer()) {
        const int answer = ShowMessageBox(
            this, StringTable::format(KaraokeString::ModifiedConfirm, {NativeName::displayText(SavePath())}),
            QStringLiteral("OnDestroy"), MB_YESNO | MB_ICONQUESTION);
        if (answer == IDYES)
            SaveWithTexts();
    }
    m_display->SetMode(CKaraokeStatic::ModeView);
    WriteProfileInt(QString::fromLatin1(Section), kAlwaysOnTopKey, IsTopmost() ? 1 : 0);
    m_created = false;
    hide();
}

void CKaraokeDlg::reject()
{
    // Closing is refused while the time tags are being edited.
    if (m_display->GetMode() != CKaraokeStatic::ModeView)
        return;
    if (m_created && m_closing)
        m_closing();
    DestroyWindow();
    hide();
}

void CKaraokeDlg::ResetEditControls()
{
    m_edit->setChecked(false);
    m_title->setReadOnly(true);
    m_artist->setReadOnly(true);
    m_close->setEnabled(true);
}

void CKaraokeDlg::ShowDocumentTexts()
{
    const CKaraokeHeader& header = m_display->Data().Header;
    m_title->setFont(m_display->LyricFont());
    m_artist->setFont(m_display->LyricFont());
    m_title->setText(header.Title);
    m_artist->setText(header.Artist);
    m_title->setCursorPosition(0);
    m_artist->setCursorPosition(0);
}

bool CKaraokeDlg::TextsDiffer() const
{
    const CKaraokeHeader& header = m_display->Data().Header;
    return m_title->text() != header.Title || m_artist->text() != header.Artist;
}

// ---- What the main window calls ------------------------------------------------------------

bool CKaraokeDlg::LoadFromTagText(QStringView text, double durationSeconds, const QString& artist, const QString& title,
                                  const QString& trackPath)
{
    const bool result = m_display->LoadFromText(text, durationSeconds);
    m_display->Data().Header.Artist = artist;
    m_display->Data().Header.Title = title;
    m_lyricPath.clear();
    m_lyricCodePage = 0;
    m_trackPath = trackPath;
    m_tagText = text.toString();
    m_tagArtist = artist;
    m_tagTitle = title;
    m_saveAsCopy = false;
    RefreshEditTip();
    m_editable = result && !trackPath.isEmpty();
    if (m_created) {
        ResetEditControls();
        ShowDocumentTexts();
        UpdateScrollBars();
        m_edit->setEnabled(m_editable);
    }
    return result;
}

bool CKaraokeDlg::LoadFromFile(const QString& path, int& codePage, double durationSeconds)
{
    const bool result = m_display->LoadFromFile(path, codePage, durationSeconds);
    m_lyricPath = path;
    m_lyricCodePage = codePage;
    m_trackPath.clear();
    m_tagText.clear();
    m_saveAsCopy = false;
    RefreshEditTip();
    m_editable = result;
    if (m_created) {
        ResetEditControls();
        ShowDocumentTexts();
        UpdateScrollBars();
        m_edit->setEnabled(m_editable);
    }
    return result;
}

void CKaraokeDlg::ClearLyrics()
{
    LoadFromTagText(QStringView(), 0, QString(), QString());
}

void CKaraokeDlg::SetPosition(double seconds)
{
    SetPosition(seconds, false);
}

void CKaraokeDlg::SetPosition(double seconds, bool playing)
{
    RefreshEditTip();
    // The time tags being edited belong to their own track: another one's clock must not move them.
    if (m_display->GetMode() != CKaraokeStatic::ModeView && !IsTrackOpen()) {
        m_display->SetPosition(m_display->WipePosition(), false);
        return;
    }
    m_display->SetPosition(seconds, playing);
}

int CKaraokeDlg::GetMode() const
{
    return m_display->GetMode();
}

void CKaraokeDlg::OnLyricFontChanged()
{
    m_title->setFont(m_display->LyricFont());
    m_artist->setFont(m_display->LyricFont());
    UpdateScrollBars();
}

// ---- Edit mode -------------------------------------------------------------------------------

void CKaraokeDlg::OnEditButton()
{
    if (m_edit->isChecked())
        EnterEditMode();
    else
        LeaveEditMode();
}

void CKaraokeDlg::EnterEditMode()
{
    if (!AgreeToSaveCopy()) {
        m_edit->setChecked(false);
        return;
    }
    m_title->setReadOnly(false);
    m_artist->setReadOnly(false);
    m_display->SetMode(CKaraokeStatic::ModeEdit);
    m_close->setEnabled(false);
    UpdateScrollBars();
}

void CKaraokeDlg::LeaveEditMode()
{
    if (!m_display->IsModified() && !TextsDiffer()) {
        if (NotifyEditEnded(false))
            EndEditMode();
        else
            m_display->SetMode(CKaraokeStatic::ModeView);
        return;
    }
    const int answer =
        ShowMessageBox(this, StringTable::format(KaraokeString::ModifiedConfirm, {NativeName::displayText(SavePath())}),
                       QStringLiteral("OnEditChk"), MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL || (answer == IDYES && !SaveWithTexts())) {
        KeepEditMode();
        return;
    }
    // Saved, or the changes are thrown away: the lyrics are read again either way.
    if (!Reload()) {
        ShowMessageBox(this, StringTable::format(KaraokeString::ReadFailed, {NativeName::displayText(m_lyricPath)}),
                       QStringLiteral("ReadKaraokeFile"), MB_OK | MB_ICONWARNING);
        m_display->SetMode(CKaraokeStatic::ModeEdit);
        KeepEditMode();
        // The file may be put right (or its tags that run backwards corrected here) and edit
        // mode left again: the button must stay usable.
        m_edit->setEnabled(true);
        return;
    }
    if (NotifyEditEnded(true))
        EndEditMode();
    else
        m_display->SetMode(CKaraokeStatic::ModeView);
}

void CKaraokeDlg::KeepEditMode()
{
    m_edit->setChecked(true);
    m_title->setReadOnly(false);
    m_artist->setReadOnly(false);
    m_close->setEnabled(false);
}

void CKaraokeDlg::EndEditMode()
{
    m_display->SetMode(CKaraokeStatic::ModeView);
    m_title->setReadOnly(true);
    m_artist->setReadOnly(true);
    m_close->setEnabled(true);
    UpdateScrollBars();
}

bool CKaraokeDlg::SaveWithTexts()
{
    CKaraokeHeader& header = m_display->Data().Header;
    header.Title = m_title->text();
    header.Artist = m_artist->text();
    const QString path = SavePath();
    // Tag lyrics go to a new file: one already there is never replaced.
    const std::optional<QString> existing =
        m_lyricPath.isEmpty() ? CKaraokeData::FindKaraokeFile(m_trackPath) : std::nullopt;
    if (existing) {
        ShowMessageBox(this, StringTable::format(KaraokeString::LyricFileExists, {NativeName::displayText(*existing)}),
                       QStringLiteral("SaveKaraokeFile"), MB_OK | MB_ICONWARNING);
        return false;
    }
    if (!m_display->Save(path, SaveCodePage())) {
        ShowMessageBox(this, StringTable::format(KaraokeString::SaveFailed, {NativeName::displayText(path)}),
                       QStringLiteral("SaveKaraokeFile"), MB_OK | MB_ICONWARNING);
        return false;
    }
    // From now on the saved file is the lyrics being edited.
    m_lyricCodePage = SaveCodePage();
    m_lyricPath = path;
    m_trackPath.clear();
    m_saveAsCopy = false;
    return true;
}

QString CKaraokeDlg::SavePath() const
{
    if (m_lyricPath.isEmpty() && !m_trackPath.isEmpty()) {
        CPathParts lyric(m_trackPath);
        lyric.Extension = m_display->Data().Format.IsLrc() ? QStringLiteral("lrc") : QStringLiteral("kra");
        return lyric.Path();
    }
    if (m_saveAsCopy) {
        CPathParts copy(m_lyricPath);
        copy.Title += QStringLiteral(" (UTF-8)");
        return copy.Path();
    }
    return m_lyricPath;
}

int CKaraokeDlg::SaveCodePage() const
{
    if (m_lyricPath.isEmpty() && !m_trackPath.isEmpty())
        return m_display->Data().Format.IsLrc() ? CodePage::Utf8 : CLyricEncoding::Utf16LEWithMark;
    return m_saveAsCopy ? CodePage::Utf8 : m_lyricCodePage;
}

bool CKaraokeDlg::AgreeToSaveCopy()
{
    const CKaraokeData& data = m_display->Data();
    if (m_lyricPath.isEmpty() || data.CanSaveIn(m_lyricCodePage))
        return true;
    m_saveAsCopy = true;
    const QString text = StringTable::format(
        KaraokeString::UnreadableBytesCopy,
        {NativeName::displayText(m_lyricPath), QString::number(m_lyricCodePage), NativeName::displayText(SavePath())});
    m_saveAsCopy = ShowMessageBox(this, text, QStringLiteral("OnEditChk"), MB_YESNO | MB_ICONWARNING) == IDYES;
    return m_saveAsCopy;
}

bool CKaraokeDlg::Reload()
{
    if (m_lyricPath.isEmpty())
        return LoadFromTagText(QString(m_tagText), 0, m_tagArtist, m_tagTitle, m_trackPath);
    int codePage = m_lyricCodePage;
    return LoadFromFile(m_lyricPath, codePage, 0);
}

int CKaraokeDlg::NotifyEditEnded(bool savedOrReloaded)
{
    return m_editEnded ? m_editEnded(m_lyricPath, savedOrReloaded) : 1;
}

// ---- Scrolling -------------------------------------------------------------------------------

void CKaraokeDlg::UpdateScrollBars()
{
    QPoint offset = m_display->GetScrollOffset();
    const Axis across = AxisOf(*m_display, Qt::Horizontal);
    const Axis down = AxisOf(*m_display, Qt::Vertical);
    const auto arrange = [](QScrollBar* bar, const Axis& axis, int& value, bool scrollable) {
        const QSignalBlocker blocker(bar);
        if (!scrollable) {
            value = 0;
            bar->setRange(0, 0);
            bar->setEnabled(false);
            return;
        }
        value = std::min(value, axis.Range());
        bar->setRange(0, axis.Range());
        bar->setPageStep(axis.client);
        bar->setSingleStep(LineStep);
        bar->setValue(value);
        bar->setEnabled(true);
    };
    arrange(HScroll(), across, offset.rx(), across.client < across.content);
    arrange(VScroll(), down, offset.ry(), down.client < down.content);
    m_display->SetScrollOffset(offset);
}

void CKaraokeDlg::ScrollTo(const QPoint& offset)
{
    const Axis across = AxisOf(*m_display, Qt::Horizontal);
    const Axis down = AxisOf(*m_display, Qt::Vertical);
    const QPoint clamped(std::clamp(offset.x(), 0, across.Range()), std::clamp(offset.y(), 0, down.Range()));
    for (QScrollBar* bar : {HScroll(), VScroll()}) {
        const QSignalBlocker blocker(bar);
        bar->setValue(bar->orientation() == Qt::Horizontal ? clamped.x() : clamped.y());
    }
    m_display->SetScrollOffset(clamped);
}

void CKaraokeDlg::OnScrollAction(QScrollBar* bar, int action)
{
    m_display->CancelInlineEdit();
    if (!bar->isEnabled())
        return;
    m_follower->OnManualScroll();
    const Qt::Orientation orientation = bar->orientation();
    const Axis axis = AxisOf(*m_display, orientation);
    const int current = OffsetAlong(*m_display, orientation);
    int value = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: value = current - LineStep; break;
    case QAbstractSlider::SliderSingleStepAdd: value = current + LineStep; break;
    case QAbstractSlider::SliderPageStepSub: value = current - 4 * axis.client / 5; break;
    case QAbstractSlider::SliderPageStepAdd: value = current + 4 * axis.client / 5; break;
    case QAbstractSlider::SliderMove: value = bar->sliderPosition(); break;
    case QAbstractSlider::SliderToMaximum: value = axis.Range(); break;
    default: value = 0; break;
    }
    value = std::clamp(value, 0, axis.Range());
    // The action's own step is replaced by this one; the bar then takes it as its value.
    if (!bar->isSliderDown())
        bar->setSliderPosition(value);
    SetOffsetAlong(*m_display, orientation, value);
}

void CKaraokeDlg::OnWheel(int delta)
{
    m_display->CancelInlineEdit();
    const Axis down = AxisOf(*m_display, Qt::Vertical);
    if (down.content <= down.client)
        return;
    m_follower->OnManualScroll();
    const int value = std::clamp(OffsetAlong(*m_display, Qt::Vertical) - delta / WheelDivisor, 0, down.Range());
    VScroll()->setValue(value);
    SetOffsetAlong(*m_display, Qt::Vertical, value);
}

void CKaraokeDlg::wheelEvent(QWheelEvent* event)
{
    OnWheel(event->angleDelta().y());
    event->accept();
}

bool CKaraokeDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return CSizableDialog::eventFilter(watched, event);
}

// ---- Keys, size and maximise -----------------------------------------------------------------

void CKaraokeDlg::keyPressEvent(QKeyEvent* event)
{
    // A held key would stamp stop after stop: only real presses count; and none while another
    // track than the one of these lyrics is open.
    if (m_display->GetMode() == CKaraokeStatic::ModeEdit && !event->isAutoRepeat() && IsTrackOpen()) {
        switch (event->key()) {
        case TapLineKey: m_display->TapLine(); return;
        case TapWordKey: m_display->TapWord(); return;
        case TapBackKey: m_display->TapBack(); return;
        case ReplayKey: ReplaySelectedTag(); return;
        default: break;
        }
    }
    CSizableDialog::keyPressEvent(event);
}

void CKaraokeDlg::resizeEvent(QResizeEvent* event)
{
    CSizableDialog::resizeEvent(event);
    if (!isMinimized())
        UpdateScrollBars();
}

void CKaraokeDlg::changeEvent(QEvent* event)
{
    CSizableDialog::changeEvent(event);
    // Maximise fits the window to the lyrics instead.
    if (event->type() == QEvent::WindowStateChange && isMaximized() && !m_fitting) {
        m_fitting = true;
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMaximized);
            FitToContent();
            m_fitting = false;
        });
    }
}

void CKaraokeDlg::ApplyFirstSize()
{
    // The display grows to the lines wanted; the window around it by as much, and the whole
    // stays on the desktop.
    const QFontMetrics metrics(m_display->LyricFont());
    const QSize client = m_display->ClientSize();
    const int wantedHeight = FirstSizeLines * metrics.height() + 2 * m_display->Margins().y();
    QSize wanted = size() + QSize(0, std::max(0, wantedHeight - client.height()));
    wanted.setWidth(std::max(wanted.width(), FirstSizeWidth));
    const QRect desktop = screen() ? screen()->availableGeometry() : DesktopRect();
    const QSize frame = frameGeometry().size() - size();
    wanted = wanted.boundedTo(desktop.size() - frame).expandedTo(minimumSize());
    resize(wanted);
}

void CKaraokeDlg::FitToContent()
{
    const QSize growth = m_display->ContentSize() - m_display->ClientSize();
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                           frame.bottom() - client.bottom());
    const QSize minimumFrame = minimumSize().grownBy(margins);
    const QRect fitted = FitFrame(frame, growth, DesktopRect(), IsClipOnDesktop(), minimumFrame);
    setGeometry(fitted.marginsRemoved(margins));
}

QRect CKaraokeDlg::FitFrame(const QRect& frame, const QSize& growth, const QRect& desktop, bool clip,
                            const QSize& minimumFrame)
{
    int left = frame.left();
    int top = frame.top();
    int right = frame.right();
    int bottom = frame.bottom();
    GrowAxis(left, right, growth.width(), desktop.left(), desktop.right(), clip);
    GrowAxis(top, bottom, growth.height(), desktop.top(), desktop.bottom(), clip);
    QRect fitted(QPoint(left, top), QPoint(right, bottom));
    fitted.setWidth(std::max(fitted.width(), minimumFrame.width()));
    fitted.setHeight(std::max(fitted.height(), minimumFrame.height()));
    return fitted;
}
