#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// FLAC files made of the stream header and a Vorbis comment block (no audio frames), enough
// for a tag reader and for listing; written byte by byte, without an encoder.
namespace FlacFixture {

using Comments = QList<QPair<QString, QString>>; // field name, value

// "fLaC", STREAMINFO (44.1 kHz, 16 bit, mono, `seconds` long) and the comments.
QByteArray bytes(const Comments& comments, double seconds = 1.0);
QString write(const QString& path, const Comments& comments, double seconds = 1.0);

// `count` tracks "trackNNNNN.flac" with TITLE, ARTIST (97), ALBUM (31) and TRACKNUMBER.
void writeNumberedTracks(const QString& folder, int count);

// Pieces for files of any shape: a metadata block (header and data), the stream info's data
// and a Vorbis comment block's data of raw "KEY=value" fields.
QByteArray block(int type, const QByteArray& data, bool last = false);
QByteArray streamInfo(double seconds);
QByteArray commentData(const QList<QByteArray>& fields);

// The bytes of the Vorbis comment block of a FLAC file (empty when there is none).
QByteArray commentBlock(const QString& path);

} // namespace FlacFixture
