#include "tests/support/Measures.h"

#include <QEvent>

#include <sys/resource.h>

#include <algorithm>

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool PaintCounter::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Paint)
        ++paints;
    return false;
}
