#include "renamer/BrindleDlg.h"

#include "common/ui/AboutDlg.h"
#include "common/ui/MessageBox.h"
#include "common/ui/PathParts.h"
#include "common/ui/StringTable.h"
#include "common/ui/Ui.h"
#include "renamer/BrindleStrings.h"
#include "renamer/RowWarning.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QShortcut>
#include <QTreeWidget>

namespace {

constexpr int kColumnWidth = 150;
// The preview's marks follow an edited folder field once typing pauses.
constexpr int kMarkDelayMs = 300;
const QColor kFailingRowColour(0xC0, 0x00, 0x00);

bool isSingleLocalFile(const QMimeData* data)
{
    return data && data->hasUrls() && data->urls().size() == 1 && data->urls().front().isLocalFile();
}

} // namespace

DialogTemplate CBrindleDlg::Template()
{
    DialogTemplate dialog;
    dialog.id = IDD;
    dialog.caption = QStringLiteral("Brindle");
    dialog.size = QSize(260, 198);
    dialog.controls = {
        {-1, ControlKind::Label, Ui::tr("実行パス"), QRect(7, 9, 40, 8)},
        {IdFolder, ControlKind::Edit, QString(), QRect(50, 7, 203, 12)},
        {-1, ControlKind::Label, Ui::tr("ファイル名の変更"), QRect(7, 27, 64, 8)},
        {IdReverse, ControlKind::CheckBox, Ui::tr("逆"), QRect(76, 26, 28, 10)},
        {IdCommaSeparated, ControlKind::RadioButton, Ui::tr("カンマ区切り"), QRect(110, 26, 64, 10), true},
        {IdTabSeparated, ControlKind::RadioButton, Ui::tr("タブ区切り"), QRect(180, 26, 64, 10)},
        {IdList, ControlKind::ListView, QString(), QRect(7, 41, 246, 130)},
        {IdClear, ControlKind::PushButton, Ui::tr("クリア"), QRect(91, 177, 50, 14)},
        {IdRun, ControlKind::DefaultButton, Ui::tr("実行"), QRect(147, 177, 50, 14)},
        {IdExit, ControlKind::PushButton, Ui::tr("終了"), QRect(203, 177, 50, 14)},
    };
    return dialog;
}

CBrindleDlg::CBrindleDlg(QWidget* parent) : CSizableDialog(Template(), parent), m_renamer(this)
{
    SetUpWindow();
    SetUpAnchors();
    if (const QScreen* desktop = screen())
        SetMaxTrackSize(desktop->availableGeometry().size());
    EnableSaveRestore(QStringLiteral("WindowPos"));
    DlgItem<QRadioButton>(this, IdTabSeparated)->setChecked(true);
    SetUpList();
    ConnectCommands();
    SetUpUndo();
}

CBrindleDlg::~CBrindleDlg()
{
    ReleaseLastRun();
}

void CBrindleDlg::SetUpWindow()
{
    // A program window of its own (task bar entry, minimise and maximise), open to drops.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    setWindowIcon(QApplication::windowIcon());
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, &CBrindleDlg::ShowAboutBox);
}

void CBrindleDlg::SetUpAnchors()
{
    AddAnchor(IdFolder, AnchorTopLeft, AnchorTopRight);
    AddAnchor(IdList, AnchorTopLeft, AnchorBottomRight);
    AddAnchor(IdClear, AnchorBottomRight, AnchorNone);
    AddAnchor(IdRun, AnchorBottomRight, AnchorNone);
    AddAnchor(IdExit, AnchorBottomRight, AnchorNone);
}

void CBrindleDlg::SetUpList()
{
    QTreeWidget* list = List();
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setAllColumnsShowFocus(true);
    list->setSortingEnabled(false);
    list->setColumnCount(2);
    list->setHeaderLabels({StringTable::text(BrindleStrings::IdsOldNameHeader),
                           StringTable::text(BrindleStrings::IdsNewNameHeader)});
    QHeaderView* header = list->header();
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->resizeSection(0, kColumnWidth);
    header->resizeSection(1, kColumnWidth);
}

void CBrindleDlg::ConnectCommands()
{
    connect(DlgItem<QCheckBox>(this, IdReverse), &QCheckBox::clicked, this, &CBrindleDlg::SwapColumns);
    connect(DlgItem<QPushButton>(this, IdClear), &QPushButton::clicked, this, &CBrindleDlg::ClearAll);
    connect(DlgItem<QPushButton>(this, IdRun), &QPushButton::clicked, this, &CBrindleDlg::RunRenames);
    connect(DlgItem<QPushButton>(this, IdExit), &QPushButton::clicked, this, &QDialog::reject);
    m_markTimer.setSingleShot(true);
    m_markTimer.setInterval(kMarkDelayMs);
    connect(&m_markTimer, &QTimer::timeout, this, &CBrindleDlg::MarkRows);
    connect(DlgItem<QLineEdit>(this, IdFolder), &QLineEdit::textEdited, &m_markTimer, qOverload<>(&QTimer::start));
}

void CBrindleDlg::SetUpUndo()
{
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    connect(undo, &QShortcut::activated, this, &CBrindleDlg::Undo);
    // The folder field keeps Ctrl+Z for its own typing only while it has some to undo.
    DlgItem<QLineEdit>(this, IdFolder)->installEventFilter(this);
}

bool CBrindleDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && watched == DlgItem<QLineEdit>(this, IdFolder)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) && !DlgItem<QLineEdit>(this, IdFolder)->isUndoAvailable())
            return true;
    }
    return CSizableDialog::eventFilter(watched, event);
}

QTreeWidget* CBrindleDlg::List() const
{
    return DlgItem<QTreeWidget>(this, IdList);
}

ListSeparator CBrindleDlg::SelectedSeparator() const
{
    return DlgItem<QRadioButton>(this, IdCommaSeparated)->isChecked() ? ListSeparator::Comma : ListSeparator::Tab;
}

int CBrindleDlg::RowCount() const
{
    return List()->topLevelItemCount();
}

RenamePair CBrindleDlg::Row(int index) const
{
    const QTreeWidgetItem* item = List()->topLevelItem(index);
    return item ? RenamePair{item->text(0), item->text(1)} : RenamePair{};
}

std::vector<RenamePair> CBrindleDlg::Rows() const
{
    std::vector<RenamePair> rows;
    rows.reserve(size_t(RowCount()));
    for (int row = 0; row < RowCount(); ++row)
        rows.push_back(Row(row));
    return rows;
}

bool CBrindleDlg::DropFiles(const QMimeData* data)
{
    if (!isSingleLocalFile(data))
        return false;
    OpenList(data->urls().front().toLocalFile());
    return true;
}

void CBrindleDlg::OpenList(const QString& path)
{
    ClearAll();
    const CPathParts parts(path);
    DlgItem<QLineEdit>(this, IdFolder)->setText(parts.Folder);
    LoadRenameList(parts.Path(), SelectedSeparator());
    MarkRows();
}

void CBrindleDlg::LoadRenameList(const QString& path, ListSeparator separator)
{
    const auto pairs = CRenameList::ReadFile(path, separator);
    if (!pairs)
        return;
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(pairs->size()));
    for (const RenamePair& pair : *pairs)
        rows.append(new QTreeWidgetItem(QStringList{pair.oldName, pair.newName}));
    List()->addTopLevelItems(rows);
}

void CBrindleDlg::SwapColumns()
{
    QTreeWidget* list = List();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        const QString oldName = item->text(0);
        item->setText(0, item->text(1));
        item->setText(1, oldName);
    }
    MarkRows();
}

void CBrindleDlg::ClearAll()
{
    DlgItem<QLineEdit>(this, IdFolder)->clear();
    List()->clear();
    m_markedRows.clear();
    DlgItem<QCheckBox>(this, IdReverse)->setChecked(false);
}

void CBrindleDlg::RunRenames()
{
    const QString folder = DlgItem<QLineEdit>(this, IdFolder)->text();
    if (RowCount() == 0 || m_busy)
        return;
    m_busy = true;
    m_markTimer.stop();
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    std::unique_ptr<CRenameJournal> journal;
    const RunResult result = m_renamer.RunList(folder, Rows(), journal);
    QGuiApplication::restoreOverrideCursor();
    if (journal)
        KeepAsLastRun(std::move(journal));
    // The rows stay as they were, unmarked: their old files are gone now.
    ClearMarks();
    if (result.started && !m_closeRequested)
        ShowRunSummary(result);
    FinishBusyWork();
}

void CBrindleDlg::ShowRunSummary(const RunResult& result)
{
    if (result.count == 0 && result.failures.empty())
        return;
    const unsigned icon = result.failures.empty() ? MB_ICONINFORMATION : MB_ICONWARNING;
    ShowMessageBox(this, RunReport::RunSummary(result.count, result.failures), Ui::tr("ファイル名の変更"),
                   MB_OK | icon);
}

void CBrindleDlg::Undo()
{
    if (m_lastRun && !m_busy) {
        m_busy = true;
        UndoJournal(m_lastRun);
        FinishBusyWork();
    }
}

void CBrindleDlg::UndoJournal(std::unique_ptr<CRenameJournal>& journal)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    bool complete = false;
    const RunResult result = m_renamer.Undo(*journal, complete);
    QGuiApplication::restoreOverrideCursor();
    const QString caption = StringTable::text(BrindleStrings::IdsUndo);
    if (!result.started) {
        ShowMessageBox(this, StringTable::format(BrindleStrings::IdsDamagedJournal, {journal->Path()}), caption,
                       MB_OK | MB_ICONERROR);
        journal->SetAside();
        journal.reset();
        return;
    }
    // A journal with moves that could not be put back stays, so the undo can be tried again.
    if (complete) {
        journal->Remove();
        journal.reset();
    }
    MarkRows();
    if (m_closeRequested)
        return;
    if (!result.unavailableFolder.isEmpty())
        ShowMessageBox(this, StringTable::format(BrindleStrings::IdsFolderUnavailable, {result.unavailableFolder}),
                       caption, MB_OK | MB_ICONERROR);
    else
        ShowMessageBox(this, RunReport::UndoSummary(result.count, result.failures), caption,
                       MB_OK | (result.failures.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
}

void CBrindleDlg::OfferRecovery()
{
    if (m_busy)
        return;
    m_busy = true;
    for (std::unique_ptr<CRenameJournal>& journal : CRenameJournal::AdoptAbandoned()) {
        const std::optional<CJournalContents> contents = CJournalContents::ReadFile(journal->Path());
        if (contents && contents->Settled()) {
            journal->Remove();
            continue;
        }
        const QString caption = StringTable::text(BrindleStrings::IdsUndo);
        if (!contents) {
            ShowMessageBox(this, StringTable::format(BrindleStrings::IdsDamagedJournal, {journal->Path()}), caption,
                           MB_OK | MB_ICONERROR);
            journal->SetAside();
            continue;
        }
        const QString question = StringTable::format(BrindleStrings::IdsUnfinishedRun, {contents->Folder()});
        if (!m_closeRequested && ShowMessageBox(this, question, caption, MB_YESNO | MB_ICONQUESTION) == IDYES)
            UndoJournal(journal);
        // Declined (or not finished): Ctrl+Z can still put it back, and the next start asks again.
        if (journal)
            KeepAsLastRun(std::move(journal));
    }
    FinishBusyWork();
}

void CBrindleDlg::KeepAsLastRun(std::unique_ptr<CRenameJournal> journal)
{
    ReleaseLastRun();
    m_lastRun = std::move(journal);
}

// A journal whose run is settled is no longer needed; any other stays on disk (unlocked) for
// the next start to offer.
void CBrindleDlg::ReleaseLastRun()
{
    if (!m_lastRun)
        return;
    m_lastRun->Flush();
    const std::optional<CJournalContents> contents = CJournalContents::ReadFile(m_lastRun->Path());
    if (contents && contents->Settled())
        m_lastRun->Remove();
    m_lastRun.reset();
}

void CBrindleDlg::EndSession()
{
    if (!m_busy) {
        reject();
        return;
    }
    m_closeRequested = true;
    m_renamer.DeclineQuestions();
}

void CBrindleDlg::FinishBusyWork()
{
    m_busy = false;
    if (m_closeRequested)
        reject();
}

void CBrindleDlg::MarkRows()
{
    ClearMarks();
    const std::vector<RenamePair> rows = Rows();
    if (rows.empty())
        return;
    const CRenamePlan plan(rows, CFolderIndex(DlgItem<QLineEdit>(this, IdFolder)->text()), CFileRenamer::TemporaryTag());
    const QIcon failIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon askIcon = style()->standardIcon(QStyle::SP_MessageBoxQuestion);
    QTreeWidget* list = List();
    for (size_t row = 0; row < rows.size(); ++row) {
        const RenameRowCheck& check = plan.Checks()[row];
        const RowWarning::Kind kind = RowWarning::KindOf(check);
        if (kind == RowWarning::Kind::None)
            continue;
        QTreeWidgetItem* item = list->topLevelItem(int(row));
        const QString reason = RowWarning::Text(check, rows[row]);
        item->setIcon(0, kind == RowWarning::Kind::WillFail ? failIcon : askIcon);
        for (int column = 0; column < 2; ++column) {
            item->setToolTip(column, reason);
            if (kind == RowWarning::Kind::WillFail)
                item->setForeground(column, kFailingRowColour);
        }
        m_markedRows.push_back(int(row));
    }
}

void CBrindleDlg::ClearMarks()
{
    QTreeWidget* list = List();
    for (const int row : m_markedRows) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        if (!item)
            continue;
        item->setIcon(0, QIcon());
        for (int column = 0; column < 2; ++column) {
            item->setToolTip(column, QString());
            item->setForeground(column, QBrush());
        }
    }
    m_markedRows.clear();
}

QString CBrindleDlg::RowWarningText(int row) const
{
    const QTreeWidgetItem* item = List()->topLevelItem(row);
    return item ? item->toolTip(0) : QString();
}

void CBrindleDlg::ShowAboutBox()
{
    CAboutDlg about(Ui::tr("Brindleのﾊﾞｰｼﾞｮﾝ情報"), false, this);
    about.exec();
}

void CBrindleDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CBrindleDlg::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CBrindleDlg::dropEvent(QDropEvent* event)
{
    if (DropFiles(event->mimeData()))
        event->acceptProposedAction();
}

void CBrindleDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(StringTable::text(BrindleStrings::IdsAboutBox), this, &CBrindleDlg::ShowAboutBox);
    menu.addSeparator();
    QAction* undo = menu.addAction(StringTable::text(BrindleStrings::IdsUndo), this, &CBrindleDlg::Undo);
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(CanUndo() && !m_busy);
    menu.exec(event->globalPos());
}
