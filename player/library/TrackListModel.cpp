#include "player/library/TrackListModel.h"

#include "common/ui/SharedTypes.h"

#include <QApplication>
#include <QPalette>

CTrackListModel::CTrackListModel(QObject* parent)
    : QAbstractTableModel(parent), m_headers(ColumnCount), m_playingColor(ToQColor(RGB(0, 128, 255)))
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
    const Row& row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.item ? row.item->ColumnText(index.column()) : QString();
    case Qt::CheckStateRole:
        if (index.column() == 0)
            return row.checked ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    case Qt::BackgroundRole:
        if (isPlaying(index.row()))
            return m_playingColor;
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

void CTrackListModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void CTrackListModel::clearRows()
{
    setRows({});
}

CTrackItem* CTrackListModel::item(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return m_rows[size_t(row)].item.get();
}

bool CTrackListModel::isChecked(int row) const
{
    return row >= 0 && row < rowCount() && m_rows[size_t(row)].checked;
}

void CTrackListModel::setChecked(int row, bool checked)
{
    if (row < 0 || row >= rowCount() || m_rows[size_t(row)].checked == checked)
        return;
    m_rows[size_t(row)].checked = checked;
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
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
    const CTrackItem* track = m_rows[size_t(row)].item.get();
    if (!track || !m_playingUrl)
        return false;
    const QString url = m_playingUrl();
    return !url.isEmpty() && url == track->FullPath();
}
