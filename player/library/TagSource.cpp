#include "player/library/TagSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

CTagSource::CTagSource(QByteArrayView bytes) : m_bytes(bytes), m_size(bytes.size()) {}

CTagSource::CTagSource(int fileDescriptor, qint64 size) : m_fileDescriptor(fileDescriptor), m_size(size) {}

qint64 CTagSource::readAt(qint64 offset, char* buffer, qint64 length) const
{
    if (offset < 0 || length < 0)
        return -1;
    if (m_fileDescriptor < 0) {
        const qint64 count = std::clamp<qint64>(m_size - offset, 0, length);
        if (count > 0)
            std::memcpy(buffer, m_bytes.data() + offset, static_cast<size_t>(count));
        return count;
    }
    qint64 done = 0;
    while (done < length) {
        const ssize_t got = pread(m_fileDescriptor, buffer + done, static_cast<size_t>(length - done), offset + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}
