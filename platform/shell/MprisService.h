#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

// A media player on the session bus as MPRIS2 describes it (org.mpris.MediaPlayer2 and its
// Player interface), so desktops' media controls and media keys reach the program. It knows
// nothing of the program: the program sets the state it shows and answers the requests it emits,
// through the same code as its own buttons. Without a session bus nothing is registered and the
// program works the same.
class MprisService : public QObject
{
    Q_OBJECT
public:
    enum class PlaybackStatus { Stopped, Playing, Paused };

    static constexpr char ObjectPath[] = "/org/mpris/MediaPlayer2";
    static constexpr char PlayerInterface[] = "org.mpris.MediaPlayer2.Player";

    MprisService(const QString& identity, const QString& desktopEntry, QObject* parent = nullptr);
    ~MprisService() override;

    // Registers the object and the name org.mpris.MediaPlayer2.<instanceName>; false when the bus
    // is not there or the name is taken.
    bool registerOn(const QDBusConnection& bus, const QString& instanceName);
    bool isRegistered() const { return m_registered; }

    // What the program shows; each change is announced with PropertiesChanged.
    void setPlaybackStatus(PlaybackStatus status);
    void setLoop(bool on);
    void setShuffle(bool on);
    void setVolume(double volume);
    // The playback rate and the range a client may set it in (1 to 1 unless the program says).
    void setRate(double rate);
    void setRateRange(double minimum, double maximum);
    // mpris:trackid (a QDBusObjectPath), mpris:length, xesam:title, ... as MPRIS names them.
    void setMetadata(const QVariantMap& metadata);
    void setCanGoNext(bool can);
    void setCanGoPrevious(bool can);
    void setCanSeek(bool can);
    // Where Position is read when asked (microseconds); MPRIS never announces position changes.
    void setPositionSource(std::function<qint64()> microseconds) { m_position = std::move(microseconds); }
    // A jump in position (not the steady progress of playback).
    void notifySeeked(qint64 microseconds);

    // For the adaptors.
    QString identity() const { return m_identity; }
    QString desktopEntry() const { return m_desktopEntry; }
    QString playbackStatusText() const;
    QString loopStatusText() const { return m_loop ? QStringLiteral("Playlist") : QStringLiteral("None"); }
    bool shuffle() const { return m_shuffle; }
    double volume() const { return m_volume; }
    double rate() const { return m_rate; }
    double minimumRate() const { return m_minimumRate; }
    double maximumRate() const { return m_maximumRate; }
    QVariantMap metadata() const { return m_metadata; }
    qint64 position() const { return m_position ? m_position() : 0; }
    bool canGoNext() const { return m_canGoNext; }
    bool canGoPrevious() const { return m_canGoPrevious; }
    bool canSeek() const { return m_canSeek; }
    // SetPosition counts only for the track now shown.
    bool isCurrentTrack(const QString& trackId) const;

signals:
    void raiseRequested();
    void quitRequested();
    void playRequested();
    void pauseRequested();
    void playPauseRequested();
    void stopRequested();
    void nextRequested();
    void previousRequested();
    void seekRequested(qint64 offsetMicroseconds);
    void setPositionRequested(qint64 positionMicroseconds);
    void openUriRequested(const QString& uri);
    void loopChangeRequested(bool on);
    void shuffleChangeRequested(bool on);
    void volumeChangeRequested(double volume);
    // Within the rate range (a rate of 0 asks for a pause instead, as MPRIS says).
    void rateChangeRequested(double rate);
    // Emitted by the player adaptor as the D-Bus signal of the same name.
    void seeked(qint64 positionMicroseconds);

private:
    void announce(const QString& property, const QVariant& value);

    QString m_identity;
    QString m_desktopEntry;
    QDBusConnection m_bus;
    QString m_serviceName;
    bool m_registered = false;
    PlaybackStatus m_status = PlaybackStatus::Stopped;
    bool m_loop = false;
    bool m_shuffle = false;
    double m_volume = 1.0;
    double m_rate = 1.0;
    double m_minimumRate = 1.0;
    double m_maximumRate = 1.0;
    QVariantMap m_metadata;
    bool m_canGoNext = false;
    bool m_canGoPrevious = false;
    bool m_canSeek = false;
    std::function<qint64()> m_position;
};
