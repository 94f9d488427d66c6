#pragma once

#include "player/library/TrackItem.h"

#include <QAbstractTableModel>

#include <functional>
#include <memory>
#include <vector>

// The rows of the track list: each row owns its CTrackItem and carries the lyric mark (check
// state). The row whose full path equals the playing URL gets the playing background.
class CTrackListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = 5;

    struct Row {
        // Made by the completer when the row is first completed (no completer: given).
        std::unique_ptr<CTrackItem> item;
        bool checked = false;
        // False until the texts and the lyric mark have been filled in.
        bool complete = true;
        // The lyric mark is still to be looked for (the row's texts are in).
        bool markPending = false;
    };
    // Completes a row the first time it is shown or asked for: reading texts and looking for
    // lyric files only for the rows a user sees keeps tens of thousands of rows quick to list.
    // False when what the row needs is not there yet: it is asked again at its next showing
    // (after rowsChanged).
    using RowCompleter = std::function<bool(int row, Row& data)>;
    // Whether a completed row has lyrics. Looking for lyric files can take a while in a large
    // folder, so a painted row gets its mark a moment after its texts, from whoever answers
    // marksWanted; asking for the mark (isChecked) finds it at once.
    using MarkFinder = std::function<bool(int row, const Row& data)>;

    explicit CTrackListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Replaces every row at once (deleting the old items).
    void setRows(std::vector<Row> rows, RowCompleter completer = {}, MarkFinder marks = {});
    void clearRows();
    CTrackItem* item(int row) const;
    bool isChecked(int row) const;
    // Sets or clears a row's lyric mark (after a lyric file was made or deleted).
    void setChecked(int row, bool checked);
    // What the rows show may have changed (texts came in): the views ask again, keeping their
    // selection and scroll position.
    void rowsChanged();
    // The completed rows whose marks are still to be found, since the last call.
    std::vector<int> takePendingMarks();
    // A mark found for a row that is still waiting for it (a row answered meanwhile keeps its own).
    void setFoundMark(int row, bool checked);

    // Asked once per painted row: the source URL of the engine's current media, or empty.
    void setPlayingUrlSource(std::function<QString()> source) { m_playingUrl = std::move(source); }
    void setHeaderTexts(const QStringList& texts);

signals:
    // Rows were completed whose marks are to be found (takePendingMarks); once per batch.
    void marksWanted();

private:
    bool isPlaying(int row) const;
    const Row& completed(int row) const;
    // Completed, with its lyric mark found.
    const Row& marked(int row) const;

    mutable std::vector<Row> m_rows;
    RowCompleter m_completer;
    MarkFinder m_marks;
    mutable std::vector<int> m_pendingMarks;
    QStringList m_headers;
    std::function<QString()> m_playingUrl;
};
