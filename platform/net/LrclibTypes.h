#pragma once

#include <QByteArray>
#include <QString>

// A track as LRCLIB knows it: what get looks for and what publish sends.
struct LrclibTrack {
    QString TrackName;
    QString ArtistName;
    QString AlbumName;
    double Duration = 0; // seconds; 0 when not known
};

// One lyrics record of the service. A lyrics field the service has as null is empty here.
struct LrclibRecord {
    qint64 Id = 0;
    LrclibTrack Track;
    bool Instrumental = false;
    QString PlainLyrics;
    QString SyncedLyrics; // standard line-synced LRC
};

// What publish needs first: find a nonce whose SHA-256(prefix + nonce) is at most the target.
struct LrclibChallenge {
    QByteArray Prefix;
    QByteArray Target; // 32 bytes, big-endian
};

// Why a request gave no result. The caller words the message; Detail carries what it needs:
// the server's own message, the field at fault, the address refused or the network's text.
struct LrclibError {
    enum class Kind {
        None,
        NoConnection,     // no network, host not found, connection refused
        Timeout,
        ConnectionClosed, // reset or closed before a whole answer came
        Http,             // an error status; HttpStatus and the server's message
        NotFound,         // 404 for a track or record
        Malformed,        // not JSON, or not of the documented form
        TooLarge,
        InsecureRedirect, // a redirect to anything but https
        InsecureServer,   // a configured address that is not https (nor http on the loopback)
        Other,
    };

    Kind What = Kind::None;
    int HttpStatus = 0;
    QString Detail;

    bool IsError() const { return What != Kind::None; }
};
