#include "tests/support/WipeTimeline.h"

#include <QEvent>

#include <algorithm>
#include <cmath>

WipeTimeline::WipeTimeline(std::function<double()> engine, std::function<double()> painted, bool readEngine,
                           double speed)
    : m_engine(std::move(engine)), m_painted(std::move(painted)), m_readEngine(readEngine), m_speed(speed)
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

void WipeTimeline::Finish()
{
    double lead = -1e9;
    for (const Reading& r : m_readings)
        lead = std::max(lead, r.engine - m_speed * r.wall);
    for (const Reading& r : m_readings) {
        if (r.painted < 0)
            continue;
        const double distance = std::abs(r.painted - (m_speed * r.wall + lead)) * 1000.0;
        figures.largestTimelineMs = std::max(figures.largestTimelineMs, distance);
        figures.sumTimelineMs += distance;
        figures.withinTenMs += distance <= 10.0 ? 1 : 0;
    }
}
