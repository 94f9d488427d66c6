#include "player/library/TrackListModel.h"

#include "player/library/DeferredDisposal.h"

#include "common/ui/SharedTypes.h"

#include <QApplication>
#include <QPalette>

#include <utility>

namespace {

constexpr COLORREF kPlayingColor = RGB(0, 128, 255);

} // namespace

CTrackListModel::CTrackListModel(QObject* parent)
    : QAbstractTableModel(parent), m_headers(ColumnCount)
{
}

int CTrackListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CTrackListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CTrackListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        const Row& row = completed(index.row());
        return row.item ? row.item->ColumnText(index.column()) : QString();
    }
    case Qt::CheckStateRole:
        if (index.column() == 0)
            return completed(index.row()).checked ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    case Qt::BackgroundRole:
        if (isPlaying(index.row()))
            return ToQColor(kPlayingColor);
        return QApplication::palette().brush(QPalette::Base);
    case Qt::ForegroundRole:
        return QApplication::palette().brush(QPalette::Text);
    default:
        return QVariant();
    }
}

QVariant CTrackListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return m_headers.value(section);
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags CTrackListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // The lyric mark is shown, not toggled by the user.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void CTrackListModel::setRows(std::vector<Row> rows, RowCompleter completer, MarkFinder marks)
{
    beginResetModel();
    std::vector<Row> old = std::exchange(m_rows, std::move(rows));
    m_completer = std::move(completer);
    m_marks = std::move(marks);
    m_pendingMarks.clear();
    endResetModel();
    CDeferredDisposal::Dispose(std::move(old));
}

const CTrackListModel::Row& CTrackListModel::completed(int row) const
{
    Row& data = m_rows[size_t(row)];
    if (data.complete)
        return data;
    data.complete = !m_completer || m_completer(row, data);
    if (data.complete && m_marks) {
        data.markPending = true;
        if (m_pendingMarks.empty())
            QMetaObject::invokeMethod(const_cast<CTrackListModel*>(this), &CTrackListModel::marksWanted,
                                      Qt::QueuedConnection);
        m_pendingMarks.push_back(row);
    }
    return data;
}

const CTrackListModel::Row& CTrackListModel::marked(int row) const
{
    Row& data = m_rows[size_t(row)];
    completed(row);
    if (data.markPending) {
        data.markPending = false;
        data.checked = m_marks(row, data);
    }
    return data;
}

std::vector<int> CTrackListModel::takePendingMarks()
{
    std::vector<int> rows = std::exchange(m_pendingMarks, {});
    std::erase_if(rows, [this](int row) { return row >= rowCount() || !m_rows[size_t(row)].markPending; });
    return rows;
}

void CTrackListModel::setFoundMark(int row, bool checked)
{
    if (row < 0 || row >= rowCount() || !m_rows[size_t(row)].markPending)
        return;
    m_rows[size_t(row)].markPending = false;
    m_rows[size_t(row)].checked = checked;
    if (checked)
        emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

void CTrackListModel::clearRows()
{
    setRows({});
}

CTrackItem* CTrackListModel::item(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return completed(row).item.get();
}

bool CTrackListModel::isChecked(int row) const
{
    return row >= 0 && row < rowCount() && marked(row).checked;
}

void CTrackListModel::setChecked(int row, bool checked)
{
    if (row < 0 || row >= rowCount())
        return;
    // Completing first keeps the completer from overwriting the mark later.
    completed(row);
    m_rows[size_t(row)].markPending = false;
    m_rows[size_t(row)].checked = checked;
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

void CTrackListModel::rowsChanged()
{
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void CTrackListModel::setHeaderTexts(const QStringList& texts)
{
    m_headers = texts;
    while (m_headers.size() < ColumnCount)
        m_headers.append(QString());
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

bool CTrackListModel::isPlaying(int row) const
{
    const CTrackItem* track = completed(row).item.get();
    if (!track || !m_playingUrl)
        return false;
    const QString url = m_playingUrl();
    return !url.isEmpty() && url == track->FullPath();
}
