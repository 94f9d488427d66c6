#pragma once

#include "platform/engine/DiscDriveProvider.h"

// The optical drives of this machine (/dev/sr*), read through the Linux CD-ROM ioctls.
class LinuxDiscDrives : public DiscDriveProvider
{
public:
    QStringList drives() const override;
    std::optional<Disc> readDisc(const QString& device) const override;
};
