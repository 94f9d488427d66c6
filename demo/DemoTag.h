#pragma once

#include <QByteArray>
#include <QString>

// An ID3v2.3 tag for a demo track: UTF-16 text frames, and optionally unsynchronised lyrics
// (USLT) and a front-cover picture (APIC).
class CDemoTag
{
public:
    void AddText(const char* frameId, const QString& text);
    void AddLyrics(const QString& text);
    void AddFrontCover(const QByteArray& jpeg);
    QByteArray Bytes() const;

private:
    void AddFrame(const char* frameId, const QByteArray& data);

    QByteArray m_frames;
};
