#pragma once

#include "common/ui/MessageBox.h"

#include <QList>

// Records every message box shown while it lives and answers it: with the queued answers in
// order, then with the default answer (IDOK for OK boxes, else the given default).
class MessageBoxRecorder
{
public:
    explicit MessageBoxRecorder(int defaultAnswer = IDYES);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void queueAnswer(int answer) { m_answers.append(answer); }
    const QList<MessageBoxPrompt>& prompts() const { return m_prompts; }
    int count() const { return static_cast<int>(m_prompts.size()); }
    void clear() { m_prompts.clear(); }

private:
    int answer(const MessageBoxPrompt& prompt);

    QList<MessageBoxPrompt> m_prompts;
    QList<int> m_answers;
    int m_defaultAnswer;
    MessageBoxHandler m_previous;
};
