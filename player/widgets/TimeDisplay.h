#pragma once

#include "common/ui/SharedTypes.h"

#include <QString>
#include <QWidget>

#include <vector>

// The position read-out, drawn like a seven-segment LED panel. Digits, "-", "." and ":" are
// line segments whose size follows the control's height; dim segments show the unlit ones.
class CTimeDisplay : public QWidget
{
    Q_OBJECT
public:
    explicit CTimeDisplay(QWidget* parent = nullptr);

    // Takes the stroke and segment sizes from the current height (not recomputed on resize).
    void Attach();
    // Stores the text and repaints only when it differs from the current one.
    void SetText(const QString& text);
    QString Text() const { return m_text; }
    // When greater than 0, a shorter text is right-aligned to this many characters.
    void SetCellCount(int cells) { m_cellCount = cells; }
    int CellCount() const { return m_cellCount; }
    void SetShowUnlit(bool show) { m_showUnlit = show ? 1 : 0; }
    void SetColors(COLORREF background, COLORREF segment);

    int Stroke() const { return m_stroke; }
    int Segment() const { return m_segment; }
    COLORREF BackgroundColor() const { return m_backgroundColor; }
    COLORREF SegmentColor() const { return m_segmentColor; }
    // Each component of the segment colour divided by 3.
    COLORREF UnlitColor() const;

    // Gap and pen width T, and segment length L, for a control height.
    static int StrokeForHeight(int height);
    static int SegmentForHeight(int height);
    // The width that shows `cells` digits with one colon at a height (what "00:00" needs).
    static int WidthFor(int height, int cells);
    // The x offset of every character cell of the (padded) text.
    std::vector<int> CellOffsets(const QString& text) const;
    // The text as drawn: padded on the left with spaces to the cell count.
    QString PaddedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Render(QPainter& painter) const;
    void DrawSegments(QPainter& painter, int x, int bits) const;
    void DrawShape(QPainter& painter, int x, QChar character) const;

    int m_showUnlit = 1;
    int m_cellCount = 0;
    int m_stroke = 1;
    int m_segment = 1;
    QString m_text = QStringLiteral("0");
    COLORREF m_backgroundColor = RGB(0, 0, 0);
    COLORREF m_segmentColor = RGB(100, 255, 100);
};
