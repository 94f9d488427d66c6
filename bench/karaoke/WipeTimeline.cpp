#include "bench/karaoke/WipeTimeline.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

WipeTimeline::WipeTimeline(std::function<double()> engine, std::function<double()> painted, bool readEngine)
    : m_engine(std::move(engine)), m_painted(std::move(painted)), m_readEngine(readEngine)
{
    m_since.start();
    m_wall.start();
}

bool WipeTimeline::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::Paint)
        return false;
    ++figures.paints;
    figures.largestIntervalMs = std::max(figures.largestIntervalMs, m_since.nsecsElapsed() / 1e6);
    m_since.restart();
    if (!m_readEngine)
        return false;
    ++figures.measuredPaints;
    m_readings.push_back({m_wall.nsecsElapsed() / 1e9, m_engine(), m_painted()});
    const double distance = std::abs(m_readings.back().painted - m_readings.back().engine) * 1000.0;
    figures.largestDistanceMs = std::max(figures.largestDistanceMs, distance);
    figures.sumDistanceMs += distance;
    return false;
}

void WipeTimeline::Tick()
{
    if (m_readEngine)
        m_readings.push_back({m_wall.nsecsElapsed() / 1e9, m_engine(), -1});
}

// The engine's own rate: the least-squares slope of its readings over wall time. Its audio clock
// runs a little off the monotonic clock (some 0.3 % here), which over a run of seconds would
// count as milliseconds of error if the nominal speed were taken.
double WipeTimeline::EngineRate() const
{
    double n = 0, sw = 0, se = 0, sww = 0, swe = 0;
    for (const Reading& r : m_readings) {
        n += 1;
        sw += r.wall;
        se += r.engine;
        sww += r.wall * r.wall;
        swe += r.wall * r.engine;
    }
    const double spread = n * sww - sw * sw;
    return spread > 0 ? (n * swe - sw * se) / spread : 0;
}

void WipeTimeline::Finish()
{
    // The envelope is taken around each paint: the engine's rate wanders by some milliseconds
    // over seconds, so one line through the whole run would misplace the timeline by as much.
    const double rate = EngineRate();
    figures.engineRate = rate;
    figures.paintedRate = MedianPaintedRate();
    size_t from = 0;
    for (const Reading& r : m_readings) {
        if (r.painted < 0)
            continue;
        while (m_readings[from].wall < r.wall - EnvelopeSeconds)
            ++from;
        double lead = -1e9;
        for (size_t i = from; i < m_readings.size() && m_readings[i].wall <= r.wall + EnvelopeSeconds; ++i)
            lead = std::max(lead, m_readings[i].engine - rate * m_readings[i].wall);
        const double distance = std::abs(r.painted - (rate * r.wall + lead)) * 1000.0;
        figures.largestTimelineMs = std::max(figures.largestTimelineMs, distance);
        figures.sumTimelineMs += distance;
        figures.withinTenMs += distance <= 10.0 ? 1 : 0;
    }
}

// Between two paints the clock runs on at its speed; the steps where it takes a fresher report
// are few, so the median is the speed whatever the machine's load did to the paints' timing.
double WipeTimeline::MedianPaintedRate() const
{
    std::vector<double> rates;
    const Reading* last = nullptr;
    for (const Reading& r : m_readings) {
        if (r.painted < 0)
            continue;
        if (last && r.wall - last->wall >= 0.004)
            rates.push_back((r.painted - last->painted) / (r.wall - last->wall));
        last = &r;
    }
    if (rates.empty())
        return 0;
    auto middle = rates.begin() + std::ptrdiff_t(rates.size() / 2);
    std::nth_element(rates.begin(), middle, rates.end());
    return *middle;
}
