#include "tests/support/ChooserRecorder.h"

ChooserRecorder::ChooserRecorder()
{
    m_previous = SetChooserHandler([this](const ChooserRequest& request) { return answer(request); });
}

ChooserRecorder::~ChooserRecorder()
{
    SetChooserHandler(std::move(m_previous));
}

ChooserAnswer ChooserRecorder::answer(const ChooserRequest& request)
{
    m_requests.append(request);
    return m_answers.isEmpty() ? ChooserAnswer() : m_answers.takeFirst();
}
