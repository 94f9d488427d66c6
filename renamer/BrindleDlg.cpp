#include "renamer/BrindleDlg.h"

#include "common/ui/AboutDlg.h"
#include "common/ui/MessageBox.h"
#include "common/ui/PathParts.h"
#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"

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
#include <QShortcut>
#include <QTreeWidget>

namespace {

constexpr int kColumnWidth = 150;

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
        {-1, ControlKind::Label, QStringLiteral("実行パス"), QRect(7, 9, 40, 8)},
        {IdFolder, ControlKind::Edit, QString(), QRect(50, 7, 203, 12)},
        {-1, ControlKind::Label, QStringLiteral("ファイル名の変更"), QRect(7, 27, 64, 8)},
        {IdReverse, ControlKind::CheckBox, QStringLiteral("逆"), QRect(76, 26, 28, 10)},
        {IdCommaSeparated, ControlKind::RadioButton, QStringLiteral("カンマ区切り"), QRect(110, 26, 64, 10), true},
        {IdTabSeparated, ControlKind::RadioButton, QStringLiteral("タブ区切り"), QRect(180, 26, 64, 10)},
        {IdList, ControlKind::ListView, QString(), QRect(7, 41, 246, 130)},
        {IdClear, ControlKind::PushButton, QStringLiteral("クリア"), QRect(91, 177, 50, 14)},
        {IdRun, ControlKind::DefaultButton, QStringLiteral("実行"), QRect(147, 177, 50, 14)},
        {IdExit, ControlKind::PushButton, QStringLiteral("終了"), QRect(203, 177, 50, 14)},
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

bool CBrindleDlg::DropFiles(const QMimeData* data)
{
    if (!isSingleLocalFile(data))
        return false;
    ClearAll();
    const CPathParts parts(data->urls().front().toLocalFile());
    DlgItem<QLineEdit>(this, IdFolder)->setText(parts.Folder);
    LoadRenameList(parts.Path(), SelectedSeparator());
    return true;
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
}

void CBrindleDlg::ClearAll()
{
    DlgItem<QLineEdit>(this, IdFolder)->clear();
    List()->clear();
    DlgItem<QCheckBox>(this, IdReverse)->setChecked(false);
}

void CBrindleDlg::RunRenames()
{
    const QString folder = DlgItem<QLineEdit>(this, IdFolder)->text();
    const int rows = RowCount();
    if (rows == 0)
        return;
    int renamed = 0;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_renamer.StartRun(folder);
    for (int row = 0; row < rows; ++row) {
        const RenamePair pair = Row(row);
        if (RenameOne(folder, pair.oldName, pair.newName) == RenameDone)
            ++renamed;
    }
    m_renamer.FinishRun();
    QGuiApplication::restoreOverrideCursor();
    if (renamed > 0)
        ShowMessageBox(this, StringTable::format(BrindleStrings::IdsRenamedCount, {QString::number(renamed)}),
                       QStringLiteral("ファイル名の変更"), MB_OK | MB_ICONINFORMATION);
}

void CBrindleDlg::ShowAboutBox()
{
    CAboutDlg about(QStringLiteral("Brindleのﾊﾞｰｼﾞｮﾝ情報"), false, this);
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
    menu.exec(event->globalPos());
}
