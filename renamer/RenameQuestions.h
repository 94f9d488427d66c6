#pragma once

#include <QString>

// The messages and the question of a run, shown by the window (answered by a test).
class IRenameQuestions
{
public:
    virtual ~IRenameQuestions() = default;
    // Message 107: the name holds a character that cannot be used, or is no name.
    virtual void ReportInvalidName(const QString& name) = 0;
    // Message 104: the old file does not exist.
    virtual void ReportMissing(const QString& name) = 0;
    // Question 105: true to replace the existing file.
    virtual bool AskOverwrite(const QString& name) = 0;
};
