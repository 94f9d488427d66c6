#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the engine knows of an optical drive: the drives there are and the audio tracks of the disc
// in one. The system's drives come from LinuxDiscDrives; tests give a fake.
class DiscDriveProvider
{
public:
    struct Track {
        int number = 0;
        double seconds = 0;
        bool operator==(const Track&) const = default;
    };
    // The audio tracks of the disc in a drive; empty for a data disc.
    using Disc = std::vector<Track>;

    virtual ~DiscDriveProvider() = default;
    // Device paths such as "/dev/sr0".
    virtual QStringList drives() const = 0;
    // The disc in the drive, or no value when the drive is empty, open or unreadable.
    virtual std::optional<Disc> readDisc(const QString& device) const = 0;
};
