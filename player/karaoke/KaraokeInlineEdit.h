#pragma once

#include "common/ui/SharedTypes.h"

#include <QLineEdit>

#include <functional>
#include <optional>

// The small edit box the lyric display opens over a time tag or a word. It keeps every key to
// itself; Enter and Escape go to the display as requests, losing the focus counts as Escape, and
// Up / Down step a text that is exactly one time tag by 100 ms.
class CKaraokeInlineEdit : public QLineEdit
{
    Q_OBJECT
public:
    static constexpr int ControlId = 51432;

    explicit CKaraokeInlineEdit(QWidget* parent);

    // The time a whole-tag text steps to: up to the next multiple of 100 ms above it, down to the
    // next one below it (never below 0). No value when the text is not exactly one time tag.
    static std::optional<LyricTime> SteppedTagTime(QStringView text, bool up);

    // How a stepped tag is written back (the document's notation); "[mm:ss:xx]" without one.
    void SetTagFormat(std::function<QString(LyricTime)> format) { m_tagFormat = std::move(format); }

    // While set, losing the focus does not cancel (a message box about this box is up).
    void SetKeepOnFocusLoss(bool keep) { m_keepOnFocusLoss = keep; }

signals:
    void ApplyRequested();
    void CancelRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void StepTag(bool up);

    bool m_keepOnFocusLoss = false;
    std::function<QString(LyricTime)> m_tagFormat;
};
