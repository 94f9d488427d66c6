#include "platform/shell/ScreenSaverInhibitor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

constexpr char kInterface[] = "org.freedesktop.ScreenSaver";
// A screen saver that does not answer must not hold the window up for long.
constexpr int kCallTimeoutMs = 1000;

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QString application, QString reason, QDBusConnection bus)
    : m_application(std::move(application)), m_reason(std::move(reason)), m_bus(std::move(bus))
{
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    Release();
}

bool ScreenSaverInhibitor::Inhibit()
{
    if (m_cookie)
        return true;
    if (!m_bus.isConnected() || !m_bus.interface() ||
        !m_bus.interface()->isServiceRegistered(QString::fromLatin1(Service)))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(Service), QString::fromLatin1(Path),
                                                       QString::fromLatin1(kInterface), QStringLiteral("Inhibit"));
    call << m_application << m_reason;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    m_cookie = reply.arguments().constFirst().toUInt();
    return true;
}

void ScreenSaverInhibitor::Release()
{
    if (!m_cookie)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(Service), QString::fromLatin1(Path),
                                                       QString::fromLatin1(kInterface), QStringLiteral("UnInhibit"));
    call << *m_cookie;
    m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    m_cookie.reset();
}
