#pragma once

#include "common/ui/SharedTypes.h"
#include "player/karaoke/KaraokeInlineEdit.h"
#include "player/karaoke/KaraokeLayout.h"

#include <QObject>
#include <QPointer>

#include <optional>

class CKaraokeStatic;
class QPoint;
class QWidget;

// The time-tag editor over the karaoke window's display (its edit mode): the inline box a left
// click opens over a tag or a word, applying what was typed, and the right click that stamps the
// engine's position on a tag or splits a word at the character boundary nearest the click.
// Stamps take the engine's position only while it belongs to the edited lyrics.
class CKaraokeEditor : public QObject
{
    Q_OBJECT
public:
    explicit CKaraokeEditor(CKaraokeStatic& display);

    // Mode 1 only: opens the box over a tag or word, with its text all selected (mode 2).
    bool OpenInlineEdit(const KaraokeHit& item);
    CKaraokeInlineEdit* InlineEdit() const { return m_inlineEdit; }
    // Enter in the box: applies the text (a bad tag leaves the box open after message 1219).
    void ApplyInlineEdit();
    // Escape in the box, a lost focus, a scroll: closes it without applying (mode 1).
    void CancelInlineEdit();
    void SetFont(const QFont& font);

    bool StampAt(const QPoint& clientPoint);
    // The split index of a word for a click `x` pixels right of its left edge.
    int SplitIndexAt(const QString& word, int x) const;
    // The engine's position in whole milliseconds for a stamp; no value while there is none to take.
    std::optional<LyricTime> StampTime() const;

private:
    void RestoreFocus();

    CKaraokeStatic& m_display;
    QPointer<CKaraokeInlineEdit> m_inlineEdit;
    QPointer<QWidget> m_focusBeforeEdit;   // gets the focus back when the box closes
    KaraokeHit m_edited;
    QString m_editedText; // what the inline box showed when it opened
};
