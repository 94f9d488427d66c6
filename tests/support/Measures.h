#pragma once

#include <QObject>

#include <vector>

// Measuring helpers shared by tests and benchmarks.

// Processor time of this process so far (user and system), in seconds.
double CpuSeconds();

// The middle value (the upper one of an even count); 0 for none.
double Median(std::vector<double> values);

// Counts the paint events of the widgets it is installed on.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;
};
