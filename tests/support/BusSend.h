#pragma once

#include <QString>
#include <QStringList>

// Runs dbus-send against an object of this process on the session bus, as another program
// would, while this process keeps answering; its printed reply (or error).
QString BusSend(const QString& destination, const QString& objectPath, QStringList arguments);

// Properties.Get of the object's property, printed as dbus-send prints it.
QString BusGetProperty(const QString& destination, const QString& objectPath, const QString& interface,
                       const QString& property);
