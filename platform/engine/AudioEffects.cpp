#include "platform/engine/AudioEffects.h"

#include "platform/engine/MpvCommand.h"
#include "platform/engine/MpvProperties.h"

#include <mpv/client.h>

#include <QByteArrayList>

#include <cmath>
#include <vector>

namespace {

const QByteArray kKeyLabel = "sonavelkey";
constexpr char kPreloadedHook[] = "on_preloaded";
// Left less right and right less left: a signal the same in both channels cancels, one in a
// single channel keeps its level.
const QByteArray kVocalFilter = "@sonavelvocal:lavfi=[pan=stereo|c0=c0-c1|c1=c1-c0]";

QByteArray pitchScale(int semitones)
{
    return QByteArray::number(std::pow(2.0, semitones / 12.0), 'f', 8);
}

// Asynchronous calls: mpv answers with an event that the player's event loop passes over.
void commandAsync(mpv_handle* mpv, const QByteArrayList& words)
{
    std::vector<const char*> args;
    for (const QByteArray& word : words)
        args.push_back(word.constData());
    args.push_back(nullptr);
    mpv_command_async(mpv, 0, args.data());
}

} // namespace

AudioEffects::AudioEffects(mpv_handle* mpv) : m_mpv(mpv)
{
    m_canChangePitch = probe("@probe:rubberband");
    m_canReduceVocals = probe("@probe:lavfi=[anull]");
    double speed = 1.0;
    m_canChangeTempo = mpv_set_property(m_mpv, "speed", MPV_FORMAT_DOUBLE, &speed) >= 0;
    mpv_hook_add(m_mpv, 0, kPreloadedHook, 0);
}

// mpv checks a filter's name when the chain is set; no item is open yet, so nothing is made.
bool AudioEffects::probe(const char* filter)
{
    const bool accepted = mpv_set_property_string(m_mpv, "af", filter) >= 0;
    mpv_set_property_string(m_mpv, "af", "");
    return accepted;
}

bool AudioEffects::setPitch(int semitones)
{
    if (!m_canChangePitch || std::abs(semitones) > MaxSemitones)
        return false;
    if (semitones == m_semitones)
        return true;
    const int before = m_semitones;
    m_semitones = semitones;
    if (m_keyInChain) {
        commandAsync(m_mpv, {"af-command", kKeyLabel, "set-pitch", pitchScale(semitones)});
        return true;
    }
    if (setChain(true, m_vocalInChain))
        return true;
    m_semitones = before;
    m_canChangePitch = false;
    return false;
}

bool AudioEffects::setTempo(double rate)
{
    if (!m_canChangeTempo || !(rate >= MinTempo && rate <= MaxTempo))
        return false;
    m_tempo = rate;
    mpv_set_property_async(m_mpv, 0, "speed", MPV_FORMAT_DOUBLE, &rate);
    return true;
}

bool AudioEffects::setVocalReduction(bool on)
{
    if (!m_canReduceVocals)
        return false;
    m_vocalReduction = on;
    if (wantsVocalFilter() == m_vocalInChain || setChain(m_keyInChain, wantsVocalFilter()))
        return true;
    m_vocalReduction = false;
    m_canReduceVocals = false;
    return false;
}

void AudioEffects::itemOpening()
{
    // The next item's channels are not known yet: the vocal filter waits for them, since a
    // filter that changes the channels of an item playing holds mpv's output.
    m_channels = 0;
    if (m_vocalInChain || (m_keyInChain && !wantsKeyFilter()))
        setChain(wantsKeyFilter(), false);
}

void AudioEffects::hook(const mpv_event& event)
{
    const auto* hook = static_cast<const mpv_event_hook*>(event.data);
    if (qstrcmp(hook->name, kPreloadedHook) == 0) {
        // Opened, its audio not started yet: the chain is made for it before it plays.
        const QByteArray audio = MpvProperties::trackPrefix(m_mpv, "audio", false);
        m_channels = audio.isEmpty() ? 0 : int(MpvProperties::intProperty(m_mpv, audio + "demux-channel-count"));
        if (wantsVocalFilter() != m_vocalInChain)
            setChain(m_keyInChain, wantsVocalFilter());
    }
    mpv_hook_continue(m_mpv, hook->id);
}

bool AudioEffects::setChain(bool keyFilter, bool vocalFilter)
{
    // The centre is cancelled before the key moves, on the item's own samples. A key filter
    // already in the chain is named as it was made: mpv keeps a filter whose settings stay the
    // same (with the pitch commands gave it) instead of making it again, which would drop the
    // audio inside it.
    const QByteArray keyFilterMade = m_keyInChain ? m_keyFilterMade : keyFilterText();
    QByteArrayList filters;
    if (vocalFilter)
        filters << kVocalFilter;
    if (keyFilter)
        filters << keyFilterMade;
    // The command, unlike setting the property, fails when a filter cannot be made, and then
    // leaves the chain as it was.
    MpvCommand command("af");
    command.arg("operation", QStringLiteral("set")).arg("value", QString::fromUtf8(filters.join(',')));
    if (command.run(m_mpv) < 0)
        return false;
    m_keyInChain = keyFilter;
    m_keyFilterMade = keyFilter ? keyFilterMade : QByteArray();
    m_vocalInChain = vocalFilter;
    return true;
}

QByteArray AudioEffects::keyFilterText() const
{
    return "@" + kKeyLabel + ":rubberband=engine=faster:pitch-scale=" + pitchScale(m_semitones);
}
