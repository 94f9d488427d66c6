#include "tests/support/MessageBoxRecorder.h"

MessageBoxRecorder::MessageBoxRecorder(int defaultAnswer) : m_defaultAnswer(defaultAnswer)
{
    m_previous = SetMessageBoxHandler([this](const MessageBoxPrompt& prompt) { return answer(prompt); });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetMessageBoxHandler(std::move(m_previous));
}

int MessageBoxRecorder::answer(const MessageBoxPrompt& prompt)
{
    m_prompts.append(prompt);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return (prompt.flags & MB_TYPEMASK) == MB_OK ? IDOK : m_defaultAnswer;
}
