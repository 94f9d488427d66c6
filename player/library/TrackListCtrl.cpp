#include "player/library/TrackListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>

CTrackListCtrl::CTrackListCtrl(QWidget* parent) : QTableView(parent), m_model(this)
{
    setModel(&m_model);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    // Uniform rows keep tens of thousands of rows cheap to lay out.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    FitRowHeight();
    QHeaderView* header = horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSortIndicatorShown(false);
    connect(header, &QHeaderView::sectionClicked, this, &CTrackListCtrl::ColumnClicked);
}

void CTrackListCtrl::FitRowHeight()
{
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void CTrackListCtrl::changeEvent(QEvent* event)
{
    // The stored list font is set after construction; rows must grow with it.
    if (event->type() == QEvent::FontChange)
        FitRowHeight();
    QTableView::changeEvent(event);
}

int CTrackListCtrl::GetSelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CTrackListCtrl::SelectRow(int row)
{
    if (row < 0 || row >= GetItemCount()) {
        clearSelection();
        return;
    }
    selectRow(row);
}

void CTrackListCtrl::SetColumns(const QStringList& headers, const QList<int>& widths)
{
    m_model.setHeaderTexts(headers);
    for (int column = 0; column < CTrackListModel::ColumnCount && column < widths.size(); ++column)
        setColumnWidth(column, widths[column]);
}

QList<int> CTrackListCtrl::ColumnWidths() const
{
    QList<int> widths;
    for (int column = 0; column < CTrackListModel::ColumnCount; ++column)
        widths.append(columnWidth(column));
    return widths;
}

void CTrackListCtrl::ShowSortMark(int column, int state)
{
    QHeaderView* header = horizontalHeader();
    m_sortColumn = state == 0 ? -1 : column;
    m_sortState = state;
    if (state == 0) {
        header->setSortIndicatorShown(false);
        header->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    // Qt's header draws its ascending indicator pointing down; the list's ascending mark points
    // up, its descending mark down. Only the arrow is used: the order lives in m_sortState.
    header->setSortIndicatorShown(true);
    header->setSortIndicator(column, state == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

int CTrackListCtrl::SortMarkColumn() const
{
    return m_sortColumn;
}

int CTrackListCtrl::SortMarkState() const
{
    return m_sortState;
}

QRect CTrackListCtrl::CheckMarkRect(int row) const
{
    const QModelIndex cell = m_model.index(row, 0);
    if (!cell.isValid())
        return QRect();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(cell);
    option.index = cell;
    option.text = cell.data().toString();
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

QPixmap CTrackListCtrl::RowPixmap(int row) const
{
    QRect rect;
    for (int column = 0; column < CTrackListModel::ColumnCount; ++column)
        rect |= visualRect(m_model.index(row, column));
    rect &= viewport()->rect();
    if (rect.isEmpty())
        return QPixmap();
    return viewport()->grab(rect);
}

void CTrackListCtrl::mousePressEvent(QMouseEvent* event)
{
    m_pressPos = event->position().toPoint();
    m_pressedRow = event->button() == Qt::LeftButton ? indexAt(m_pressPos).row() : -1;
    QTableView::mousePressEvent(event);
}

void CTrackListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragging) {
        emit DragMove(viewport()->mapToGlobal(pos));
        return;
    }
    if (m_dragEnabled && m_pressedRow >= 0 && (event->buttons() & Qt::LeftButton)
        && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
        SelectRow(m_pressedRow);
        const QRect rowRect = visualRect(m_model.index(m_pressedRow, 0));
        emit BeginDrag(m_pressedRow, viewport()->mapToGlobal(pos), m_pressPos - rowRect.topLeft());
        return;
    }
    QTableView::mouseMoveEvent(event);
}

void CTrackListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    m_pressedRow = -1;
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        emit DragEnd(viewport()->mapToGlobal(event->position().toPoint()));
        return;
    }
    QTableView::mouseReleaseEvent(event);
}
