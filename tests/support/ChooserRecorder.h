#pragma once

#include "common/ui/Chooser.h"

#include <QList>

// Records every font and colour chooser opened while it lives and answers it with the queued
// answers in order, then with Cancel.
class ChooserRecorder
{
public:
    ChooserRecorder();
    ~ChooserRecorder();
    ChooserRecorder(const ChooserRecorder&) = delete;
    ChooserRecorder& operator=(const ChooserRecorder&) = delete;

    void queueFont(const QFont& font, const QColor& color = QColor()) { m_answers.append(ChooserAnswer{true, font, color}); }
    void queueColor(const QColor& color) { m_answers.append(ChooserAnswer{true, QFont(), color}); }
    void queueCancel() { m_answers.append(ChooserAnswer()); }
    const QList<ChooserRequest>& requests() const { return m_requests; }
    int count() const { return static_cast<int>(m_requests.size()); }

private:
    ChooserAnswer answer(const ChooserRequest& request);

    QList<ChooserRequest> m_requests;
    QList<ChooserAnswer> m_answers;
    ChooserHandler m_previous;
};
