#include "platform/engine/Cdrom.h"

Cdrom::Cdrom(const QString& device) : m_device(device), m_playlist(std::make_shared<Playlist>(device)) {}

bool Cdrom::update(const std::optional<DiscDriveProvider::Disc>& disc)
{
    if (disc == m_disc)
        return false;
    m_disc = disc;
    m_playlist = std::make_shared<Playlist>(m_device);
    if (m_disc) {
        for (const auto& track : *m_disc)
            m_playlist->appendItem(Media::forDiscTrack(m_device, track.number, track.seconds));
    }
    return true;
}
