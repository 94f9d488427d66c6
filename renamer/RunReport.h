#pragma once

#include <QString>

#include <vector>

// A row (or an undo step) that could not be carried out, named in the summary.
struct RunFailure {
    QString from;
    QString to;
    QString reason;
};

// The summaries shown after a run and after an undo: how many files were renamed (message
// 106) or put back, and each failure with its reason.
namespace RunReport {

// Failures beyond this many are counted but not named.
constexpr int MaximumNamed = 20;

QString RunSummary(int renamed, const std::vector<RunFailure>& failures);
QString UndoSummary(int restored, const std::vector<RunFailure>& failures);

} // namespace RunReport
