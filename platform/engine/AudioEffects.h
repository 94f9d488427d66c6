#pragma once

#include <QByteArray>

struct mpv_event;
struct mpv_handle;

// Key, tempo and vocal reduction of the engine's audio, over mpv's filter chain and speed.
//
// - Key: mpv's rubberband filter, put into the chain the first time the key leaves 0; later
//   changes only re-tune it by a filter command, so playback goes on without a gap. Back at 0 it
//   stays in the chain at pitch 1 until the next item opens, which is when it leaves.
// - Tempo: mpv's speed, the pitch kept by its tempo filter (by rubberband while that is in the
//   chain). Video follows the audio clock, so a picture stays in sync.
// - Vocal reduction: each channel less the other (an lavfi pan filter), which cancels what is
//   mixed in the centre of a stereo item. It goes into the chain once an item has opened with
//   two channels or more; an item with one channel plays as it is.
//
// At their neutral values nothing is in the chain and the speed is 1. A libmpv that refuses a
// filter (one built without rubberband) makes its effect unavailable: the setter then fails and
// playback goes on as before. Value changes never wait for mpv (they are sent asynchronously), so
// changing them many times a second stalls neither playback nor the caller.
class AudioEffects
{
public:
    static constexpr int MaxSemitones = 6;
    static constexpr double MinTempo = 0.5;
    static constexpr double MaxTempo = 1.5;

    explicit AudioEffects(mpv_handle* mpv);

    bool canChangePitch() const { return m_canChangePitch; }
    bool canChangeTempo() const { return m_canChangeTempo; }
    bool canReduceVocals() const { return m_canReduceVocals; }

    // Semitones from -6 to +6; false out of range or when unavailable.
    bool setPitch(int semitones);
    int pitch() const { return m_semitones; }
    // Playback rate from 0.5 to 1.5 (1 = as recorded).
    bool setTempo(double rate);
    double tempo() const { return m_tempo; }
    bool setVocalReduction(bool on);
    bool vocalReduction() const { return m_vocalReduction; }
    // Channels of the open item's audio; 0 while none is open or it is not known yet.
    int itemChannels() const { return m_channels; }

    // The player tells of its items: one is about to open; and it hands on mpv's hook events
    // (the effects hold an item opened until its chain is made).
    void itemOpening();
    void hook(const mpv_event& event);

private:
    bool wantsKeyFilter() const { return m_semitones != 0; }
    bool wantsVocalFilter() const { return m_vocalReduction && m_channels >= 2; }
    // Rebuilds the chain with the filters given; false (the chain as it was) when mpv refuses it.
    bool setChain(bool keyFilter, bool vocalFilter);
    QByteArray keyFilterText() const;
    bool probe(const char* filter);

    mpv_handle* m_mpv;
    bool m_canChangePitch = false;
    bool m_canChangeTempo = false;
    bool m_canReduceVocals = false;
    int m_semitones = 0;
    double m_tempo = 1.0;
    bool m_vocalReduction = false;
    int m_channels = 0;
    bool m_keyInChain = false;
    QByteArray m_keyFilterMade;
    bool m_vocalInChain = false;
};
