#include "platform/shell/MprisService.h"

#include "platform/shell/MprisPlayerAdaptor.h"
#include "platform/shell/MprisRootAdaptor.h"

#include <QDBusMessage>
#include <QDBusObjectPath>

MprisService::MprisService(const QString& identity, const QString& desktopEntry, QObject* parent)
    : QObject(parent), m_identity(identity), m_desktopEntry(desktopEntry),
      m_bus(QStringLiteral("sonavel-mpris-unconnected"))
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
}

MprisService::~MprisService()
{
    if (!m_registered)
        return;
    m_bus.unregisterObject(QString::fromLatin1(ObjectPath));
    m_bus.unregisterService(m_serviceName);
}

bool MprisService::registerOn(const QDBusConnection& bus, const QString& instanceName)
{
    if (m_registered || !bus.isConnected())
        return m_registered;
    m_bus = bus;
    if (!m_bus.registerObject(QString::fromLatin1(ObjectPath), this, QDBusConnection::ExportAdaptors))
        return false;
    m_serviceName = QStringLiteral("org.mpris.MediaPlayer2.") + instanceName;
    if (!m_bus.registerService(m_serviceName)) {
        m_bus.unregisterObject(QString::fromLatin1(ObjectPath));
        return false;
    }
    m_registered = true;
    return true;
}

QString MprisService::playbackStatusText() const
{
    switch (m_status) {
    case PlaybackStatus::Playing: return QStringLiteral("Playing");
    case PlaybackStatus::Paused: return QStringLiteral("Paused");
    case PlaybackStatus::Stopped: break;
    }
    return QStringLiteral("Stopped");
}

void MprisService::setPlaybackStatus(PlaybackStatus status)
{
    if (status == m_status)
        return;
    m_status = status;
    announce(QStringLiteral("PlaybackStatus"), playbackStatusText());
}

void MprisService::setLoop(bool on)
{
    if (on == m_loop)
        return;
    m_loop = on;
    announce(QStringLiteral("LoopStatus"), loopStatusText());
}

void MprisService::setShuffle(bool on)
{
    if (on == m_shuffle)
        return;
    m_shuffle = on;
    announce(QStringLiteral("Shuffle"), on);
}

void MprisService::setVolume(double volume)
{
    if (qFuzzyCompare(volume + 1, m_volume + 1))
        return;
    m_volume = volume;
    announce(QStringLiteral("Volume"), volume);
}

void MprisService::setRate(double rate)
{
    if (qFuzzyCompare(rate, m_rate))
        return;
    m_rate = rate;
    announce(QStringLiteral("Rate"), rate);
}

void MprisService::setRateRange(double minimum, double maximum)
{
    m_minimumRate = minimum;
    m_maximumRate = maximum;
}

void MprisService::setMetadata(const QVariantMap& metadata)
{
    if (metadata == m_metadata)
        return;
    m_metadata = metadata;
    announce(QStringLiteral("Metadata"), metadata);
}

void MprisService::setCanGoNext(bool can)
{
    if (can == m_canGoNext)
        return;
    m_canGoNext = can;
    announce(QStringLiteral("CanGoNext"), can);
}

void MprisService::setCanGoPrevious(bool can)
{
    if (can == m_canGoPrevious)
        return;
    m_canGoPrevious = can;
    announce(QStringLiteral("CanGoPrevious"), can);
}

void MprisService::setCanSeek(bool can)
{
    if (can == m_canSeek)
        return;
    m_canSeek = can;
    announce(QStringLiteral("CanSeek"), can);
}

void MprisService::notifySeeked(qint64 microseconds)
{
    emit seeked(microseconds);
}

bool MprisService::isCurrentTrack(const QString& trackId) const
{
    const QVariant current = m_metadata.value(QStringLiteral("mpris:trackid"));
    return !trackId.isEmpty() && current.value<QDBusObjectPath>().path() == trackId;
}

void MprisService::announce(const QString& property, const QVariant& value)
{
    if (!m_registered)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(ObjectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(PlayerInterface) << QVariantMap{{property, value}} << QStringList();
    m_bus.send(signal);
}
