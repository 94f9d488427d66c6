#pragma once

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <vector>

// How well a lyric display's painted clock keeps to the engine, for the wipe's tests and
// benchmarks. Installed on the display, it takes a reading at every paint (and one at every
// position tick): the wall time, the engine's position and the position the display painted.
//
// The engine moves its position in steps of some 30 ms, so a position read at a paint is up to
// a step old. Its timeline - the position it would report if read the moment it moved - is the
// upper envelope of (position - rate x wall time) over the readings of the half second around
// it, at the rate the engine's readings run at (the tempo, give or take its clock): reading late
// only lowers it.
class WipeTimeline : public QObject
{
public:
    // Readings this far before and after a paint make the timeline at it.
    static constexpr double EnvelopeSeconds = 0.25;

    struct Figures {
        int paints = 0;
        int measuredPaints = 0;         // paints compared with the engine
        int withinTenMs = 0;            // paints within 10 ms of the engine's timeline
        double largestDistanceMs = 0;   // painted clock against the engine's position read then
        double sumDistanceMs = 0;
        double largestTimelineMs = 0;   // painted clock against the engine's timeline
        double sumTimelineMs = 0;
        double largestIntervalMs = 0;   // the longest the wipe stood still between two paints
        double engineRate = 0;          // media seconds per real second the engine ran at
        double paintedRate = 0;         // the same of the painted clock, the median between two paints
        double MeanTimelineMs() const { return measuredPaints ? sumTimelineMs / measuredPaints : 0; }
        double ShareWithinTenMs() const { return measuredPaints ? double(withinTenMs) / measuredPaints : 0; }
    };

    // Seconds of media: the engine's position, and the one the display painted last. Without
    // `readEngine` only the paints are counted (reading the engine costs CPU time of its own).
    WipeTimeline(std::function<double()> engine, std::function<double()> painted, bool readEngine);

    bool eventFilter(QObject* watched, QEvent* event) override;
    // A reading at a position tick, so that the envelope has readings of its own.
    void Tick();
    // Compares every painted reading with the timeline; call once the run is over.
    void Finish();

    Figures figures;

private:
    double EngineRate() const;
    double MedianPaintedRate() const;

    struct Reading {
        double wall = 0;     // seconds since the run started
        double engine = 0;
        double painted = 0;  // -1 for a tick
    };

    std::function<double()> m_engine;
    std::function<double()> m_painted;
    bool m_readEngine;
    QElapsedTimer m_since;
    QElapsedTimer m_wall;
    std::vector<Reading> m_readings;
};
