#pragma once

#include "platform/engine/DiscDriveProvider.h"
#include "platform/engine/Playlist.h"

#include <QString>

#include <optional>

// One optical drive and the audio tracks of the disc in it.
class Cdrom
{
public:
    explicit Cdrom(const QString& device);

    // The device path, e.g. "/dev/sr0".
    QString driveSpecifier() const { return m_device; }
    // One item per audio track (playable through cdda); empty without a disc. A new list is made
    // whenever the disc changes.
    PlaylistPtr playlist() const { return m_playlist; }
    bool hasDisc() const { return m_disc.has_value(); }

    // Takes the drive's current contents; true when they differ from what it had.
    bool update(const std::optional<DiscDriveProvider::Disc>& disc);

private:
    QString m_device;
    std::optional<DiscDriveProvider::Disc> m_disc;
    PlaylistPtr m_playlist;
};
