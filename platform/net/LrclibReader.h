#pragma once

#include "platform/net/LrclibTypes.h"

#include <QByteArray>
#include <QList>

#include <optional>

class QJsonObject;
class QJsonValue;

// Reads the service's JSON answers with Qt's reader, checking every field's type: a field of the
// wrong type makes the whole answer malformed (Detail names the field), so nothing half-read is
// ever saved. Absent optional fields take their defaults; null lyrics and album are empty.
class LrclibReader
{
public:
    // One record (get, get-cached, get by id).
    static std::optional<LrclibRecord> Record(const QByteArray& json, LrclibError& error);
    // An array of records (search).
    static std::optional<QList<LrclibRecord>> Records(const QByteArray& json, LrclibError& error);
    // {prefix, target} of request-challenge; the target must be 64 hexadecimal digits.
    static std::optional<LrclibChallenge> Challenge(const QByteArray& json, LrclibError& error);
    // The "message" of an error answer ({code, name, message}); empty when it has none.
    static QString ServerMessage(const QByteArray& json);
    // Whether an error answer names itself "TrackNotFound".
    static bool IsTrackNotFound(const QByteArray& json);

private:
    static std::optional<QJsonObject> Object(const QByteArray& json, LrclibError& error);
    static std::optional<LrclibRecord> RecordOf(const QJsonObject& object, LrclibError& error);
    static bool ReadText(const QJsonObject& object, const char* key, bool required, bool nullable, QString& out,
                         LrclibError& error);
    static bool ReadNumber(const QJsonObject& object, const char* key, bool required, double& out, LrclibError& error);
    static bool Fail(LrclibError& error, const QString& detail);
};
