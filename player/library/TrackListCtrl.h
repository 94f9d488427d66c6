#pragma once

#include "player/library/TrackListModel.h"

#include <QTableView>

// The track list of the main window: a report view with grid lines, full-row single selection,
// the lyric mark in column 0, a sort mark in the header and the playing row in its own colour.
// It also reports a row dragged with the left button (when dragging is allowed) so the main
// window can drop it onto the folder tree.
class CTrackListCtrl : public QTableView
{
    Q_OBJECT
public:
    explicit CTrackListCtrl(QWidget* parent = nullptr);

    CTrackListModel& Model() { return m_model; }
    const CTrackListModel& Model() const { return m_model; }

    int GetItemCount() const { return m_model.rowCount(); }
    CTrackItem* GetItem(int row) const { return m_model.item(row); }
    bool GetCheck(int row) const { return m_model.isChecked(row); }
    void SetCheck(int row, bool checked) { m_model.setChecked(row, checked); }
    // Where a row's lyric mark is drawn, in viewport coordinates (empty for no such row).
    QRect CheckMarkRect(int row) const;
    void DeleteAllItems() { m_model.clearRows(); }
    // The selected row, or -1.
    int GetSelectedRow() const;
    void SelectRow(int row);

    // Header texts and widths of the five columns.
    void SetColumns(const QStringList& headers, const QList<int>& widths);
    QList<int> ColumnWidths() const;
    // State 0 shows no mark, 1 the ascending mark, 2 the descending mark on the column.
    void ShowSortMark(int column, int state);
    int SortMarkColumn() const;
    int SortMarkState() const;

    void SetDragEnabled(bool enabled) { m_dragEnabled = enabled; }
    bool IsDragging() const { return m_dragging; }
    // A picture of the row for the drag image.
    QPixmap RowPixmap(int row) const;
    // Asked for every painted row: the source URL of the engine's current media.
    void SetPlayingUrlSource(std::function<QString()> source) { m_model.setPlayingUrlSource(std::move(source)); }

signals:
    void ColumnClicked(int column);
    // LVN_BEGINDRAG, then the moves and the release of that drag, in global coordinates.
    void BeginDrag(int row, const QPoint& globalPos, const QPoint& hotSpot);
    void DragMove(const QPoint& globalPos);
    void DragEnd(const QPoint& globalPos);

protected:
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FitRowHeight();

    CTrackListModel m_model;
    bool m_dragEnabled = false;
    bool m_dragging = false;
    int m_pressedRow = -1;
    QPoint m_pressPos;
    int m_sortColumn = -1;
    int m_sortState = 0;
};
