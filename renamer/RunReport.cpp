#include "renamer/RunReport.h"

#include "common/ui/StringTable.h"
#include "renamer/BrindleStrings.h"

namespace RunReport {

namespace {

QString failureList(const std::vector<RunFailure>& failures)
{
    QString text;
    const int named = std::min(int(failures.size()), MaximumNamed);
    for (int i = 0; i < named; ++i) {
        const RunFailure& failure = failures[size_t(i)];
        text += QStringLiteral("\n%1 → %2: %3").arg(failure.from, failure.to, failure.reason);
    }
    if (int(failures.size()) > named)
        text += '\n' + StringTable::format(BrindleStrings::IdsMoreFailures, {QString::number(failures.size() - named)});
    return text;
}

QString summary(const QString& done, int failedId, const std::vector<RunFailure>& failures)
{
    QString text = done;
    if (failures.empty())
        return text;
    if (!text.isEmpty())
        text += '\n';
    return text + StringTable::format(failedId, {QString::number(failures.size())}) + failureList(failures);
}

} // namespace

QString RunSummary(int renamed, const std::vector<RunFailure>& failures)
{
    const QString done = renamed > 0 ? StringTable::format(BrindleStrings::IdsRenamedCount, {QString::number(renamed)})
                                     : QString();
    return summary(done, BrindleStrings::IdsFailedCount, failures);
}

QString UndoSummary(int restored, const std::vector<RunFailure>& failures)
{
    return summary(StringTable::format(BrindleStrings::IdsRestoredCount, {QString::number(restored)}),
                   BrindleStrings::IdsNotRestoredCount, failures);
}

} // namespace RunReport
