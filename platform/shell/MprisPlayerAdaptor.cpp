#include "platform/shell/MprisPlayerAdaptor.h"

#include "platform/shell/MprisService.h"

#include <algorithm>
#include <cmath>

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), m_service(service)
{
    connect(service, &MprisService::seeked, this, [this](qint64 position) { emit Seeked(position); });
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return m_service->playbackStatusText();
}

QString MprisPlayerAdaptor::loopStatus() const
{
    return m_service->loopStatusText();
}

void MprisPlayerAdaptor::setLoopStatus(const QString& status)
{
    emit m_service->loopChangeRequested(status != QLatin1String("None"));
}

bool MprisPlayerAdaptor::shuffle() const
{
    return m_service->shuffle();
}

void MprisPlayerAdaptor::setShuffle(bool on)
{
    emit m_service->shuffleChangeRequested(on);
}

double MprisPlayerAdaptor::rate() const
{
    return m_service->rate();
}

void MprisPlayerAdaptor::setRate(double rate)
{
    if (rate == 0.0)
        emit m_service->pauseRequested();
    else if (std::isfinite(rate))
        emit m_service->rateChangeRequested(std::clamp(rate, m_service->minimumRate(), m_service->maximumRate()));
}

double MprisPlayerAdaptor::minimumRate() const
{
    return m_service->minimumRate();
}

double MprisPlayerAdaptor::maximumRate() const
{
    return m_service->maximumRate();
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return m_service->metadata();
}

double MprisPlayerAdaptor::volume() const
{
    return m_service->volume();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    emit m_service->volumeChangeRequested(std::clamp(volume, 0.0, 1.0));
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_service->position();
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return m_service->canGoNext();
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    return m_service->canGoPrevious();
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_service->canSeek();
}

void MprisPlayerAdaptor::Next()
{
    emit m_service->nextRequested();
}

void MprisPlayerAdaptor::Previous()
{
    emit m_service->previousRequested();
}

void MprisPlayerAdaptor::Pause()
{
    emit m_service->pauseRequested();
}

void MprisPlayerAdaptor::PlayPause()
{
    emit m_service->playPauseRequested();
}

void MprisPlayerAdaptor::Stop()
{
    emit m_service->stopRequested();
}

void MprisPlayerAdaptor::Play()
{
    emit m_service->playRequested();
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    emit m_service->seekRequested(offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    // A stale track id or a position outside the track is ignored, as MPRIS asks.
    const qlonglong length = m_service->metadata().value(QStringLiteral("mpris:length")).toLongLong();
    if (m_service->isCurrentTrack(trackId.path()) && position >= 0 && position <= length)
        emit m_service->setPositionRequested(position);
}

void MprisPlayerAdaptor::OpenUri(const QString& uri)
{
    emit m_service->openUriRequested(uri);
}
