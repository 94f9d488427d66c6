#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

// Keeps the desktop's screen saver and screen blanking away while something is watched, through
// org.freedesktop.ScreenSaver (Inhibit / UnInhibit) on the session bus. Without a session bus or
// without the service nothing happens and Inhibit answers false. The inhibition is released by
// Release, by the destructor, and by the bus itself when the program ends.
class ScreenSaverInhibitor
{
public:
    static constexpr char Service[] = "org.freedesktop.ScreenSaver";
    static constexpr char Path[] = "/org/freedesktop/ScreenSaver";

    ScreenSaverInhibitor(QString application, QString reason,
                         QDBusConnection bus = QDBusConnection::sessionBus());
    ~ScreenSaverInhibitor();
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    // True while an inhibition is held (also when one was held already).
    bool Inhibit();
    void Release();
    bool IsInhibiting() const { return m_cookie.has_value(); }

private:
    QString m_application;
    QString m_reason;
    QDBusConnection m_bus;
    std::optional<uint> m_cookie;
};
