#include "platform/shell/MprisRootAdaptor.h"

#include "platform/shell/MprisService.h"

MprisRootAdaptor::MprisRootAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), m_service(service)
{
}

QString MprisRootAdaptor::identity() const
{
    return m_service->identity();
}

QString MprisRootAdaptor::desktopEntry() const
{
    return m_service->desktopEntry();
}

QStringList MprisRootAdaptor::supportedMimeTypes() const
{
    return {QStringLiteral("audio/mpeg"), QStringLiteral("audio/flac"), QStringLiteral("audio/ogg"),
            QStringLiteral("audio/mp4"),  QStringLiteral("audio/x-wav"), QStringLiteral("video/mpeg"),
            QStringLiteral("video/mp4"),  QStringLiteral("inode/directory")};
}

void MprisRootAdaptor::Raise()
{
    emit m_service->raiseRequested();
}

void MprisRootAdaptor::Quit()
{
    emit m_service->quitRequested();
}
