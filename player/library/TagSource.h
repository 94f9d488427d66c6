#pragma once

#include <QByteArrayView>

// Where a tag record reads its bytes from: an open file or bytes already in memory.
class CTagSource
{
public:
    explicit CTagSource(QByteArrayView bytes);
    CTagSource(int fileDescriptor, qint64 size);

    qint64 size() const { return m_size; }
    // Reads up to `length` bytes at `offset`; returns the count read (fewer at the end),
    // or -1 on a file error.
    qint64 readAt(qint64 offset, char* buffer, qint64 length) const;

private:
    int m_fileDescriptor = -1;
    QByteArrayView m_bytes;
    qint64 m_size = 0;
};
