#include "tests/support/BusSend.h"

#include <QProcess>
#include <QTest>

QString BusSend(const QString& destination, const QString& objectPath, QStringList arguments)
{
    arguments.prepend(objectPath);
    arguments.prepend(QStringLiteral("--dest=") + destination);
    arguments.prepend(QStringLiteral("--print-reply"));
    arguments.prepend(QStringLiteral("--session"));
    QProcess send;
    send.start(QStringLiteral("dbus-send"), arguments);
    if (!send.waitForStarted())
        return QStringLiteral("dbus-send did not start");
    for (int i = 0; i < 500 && send.state() != QProcess::NotRunning; ++i)
        QTest::qWait(10);
    return QString::fromUtf8(send.readAllStandardOutput() + send.readAllStandardError());
}

QString BusGetProperty(const QString& destination, const QString& objectPath, const QString& interface,
                       const QString& property)
{
    return BusSend(destination, objectPath,
                   {QStringLiteral("org.freedesktop.DBus.Properties.Get"), QStringLiteral("string:") + interface,
                    QStringLiteral("string:") + property});
}
