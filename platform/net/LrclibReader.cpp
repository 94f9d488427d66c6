#include "platform/net/LrclibReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace {

// Integers a double holds exactly.
constexpr double kLargestId = 9007199254740992.0; // 2^53
constexpr qsizetype kTargetDigits = 64;

bool isHexDigits(const QString& text)
{
    for (const QChar c : text)
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
            return false;
    return true;
}

} // namespace

bool LrclibReader::Fail(LrclibError& error, const QString& detail)
{
    error.What = LrclibError::Kind::Malformed;
    error.Detail = detail;
    return false;
}

std::optional<QJsonObject> LrclibReader::Object(const QByteArray& json, LrclibError& error)
{
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        Fail(error, QStringLiteral("JSON: %1").arg(parse.errorString()));
        return std::nullopt;
    }
    if (!document.isObject()) {
        Fail(error, QStringLiteral("JSON object expected"));
        return std::nullopt;
    }
    return document.object();
}

bool LrclibReader::ReadText(const QJsonObject& object, const char* key, bool required, bool nullable, QString& out,
                            LrclibError& error)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isString()) {
        out = value.toString();
        return true;
    }
    if ((value.isUndefined() && !required) || (value.isNull() && nullable)) {
        out.clear();
        return true;
    }
    return Fail(error, QStringLiteral("%1: text expected").arg(QLatin1String(key)));
}

bool LrclibReader::ReadNumber(const QJsonObject& object, const char* key, bool required, double& out,
                              LrclibError& error)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isDouble() && std::isfinite(value.toDouble()) && value.toDouble() >= 0) {
        out = value.toDouble();
        return true;
    }
    if (!required && (value.isUndefined() || value.isNull())) {
        out = 0;
        return true;
    }
    return Fail(error, QStringLiteral("%1: number expected").arg(QLatin1String(key)));
}

std::optional<LrclibRecord> LrclibReader::RecordOf(const QJsonObject& object, LrclibError& error)
{
    LrclibRecord record;
    double id = 0;
    if (!ReadNumber(object, "id", true, id, error))
        return std::nullopt;
    if (id != std::floor(id) || id > kLargestId) {
        Fail(error, QStringLiteral("id: whole number expected"));
        return std::nullopt;
    }
    record.Id = qint64(id);
    LrclibTrack& track = record.Track;
    if (!ReadText(object, "trackName", true, false, track.TrackName, error) ||
        !ReadText(object, "artistName", true, false, track.ArtistName, error) ||
        !ReadText(object, "albumName", false, true, track.AlbumName, error) ||
        !ReadNumber(object, "duration", false, track.Duration, error) ||
        !ReadText(object, "plainLyrics", false, true, record.PlainLyrics, error) ||
        !ReadText(object, "syncedLyrics", false, true, record.SyncedLyrics, error))
        return std::nullopt;
    const QJsonValue instrumental = object.value(QLatin1String("instrumental"));
    if (instrumental.isBool())
        record.Instrumental = instrumental.toBool();
    else if (!instrumental.isUndefined() && !instrumental.isNull()) {
        Fail(error, QStringLiteral("instrumental: true or false expected"));
        return std::nullopt;
    }
    return record;
}

std::optional<LrclibRecord> LrclibReader::Record(const QByteArray& json, LrclibError& error)
{
    const std::optional<QJsonObject> object = Object(json, error);
    return object ? RecordOf(*object, error) : std::nullopt;
}

std::optional<QList<LrclibRecord>> LrclibReader::Records(const QByteArray& json, LrclibError& error)
{
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse);
    if (parse.error != QJsonParseError::NoError) {
        Fail(error, QStringLiteral("JSON: %1").arg(parse.errorString()));
        return std::nullopt;
    }
    if (!document.isArray()) {
        Fail(error, QStringLiteral("JSON array expected"));
        return std::nullopt;
    }
    QList<LrclibRecord> records;
    const QJsonArray array = document.array();
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array[i].isObject()) {
            Fail(error, QStringLiteral("[%1]: object expected").arg(i));
            return std::nullopt;
        }
        const std::optional<LrclibRecord> record = RecordOf(array[i].toObject(), error);
        if (!record) {
            error.Detail = QStringLiteral("[%1].%2").arg(i).arg(error.Detail);
            return std::nullopt;
        }
        records.append(*record);
    }
    return records;
}

std::optional<LrclibChallenge> LrclibReader::Challenge(const QByteArray& json, LrclibError& error)
{
    const std::optional<QJsonObject> object = Object(json, error);
    if (!object)
        return std::nullopt;
    QString prefix;
    QString target;
    if (!ReadText(*object, "prefix", true, false, prefix, error) ||
        !ReadText(*object, "target", true, false, target, error))
        return std::nullopt;
    if (prefix.isEmpty()) {
        Fail(error, QStringLiteral("prefix: empty"));
        return std::nullopt;
    }
    if (target.size() != kTargetDigits || !isHexDigits(target)) {
        Fail(error, QStringLiteral("target: 64 hexadecimal digits expected"));
        return std::nullopt;
    }
    return LrclibChallenge{prefix.toUtf8(), QByteArray::fromHex(target.toLatin1())};
}

QString LrclibReader::ServerMessage(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    const QJsonValue message = document.object().value(QLatin1String("message"));
    return message.isString() ? message.toString() : QString();
}

bool LrclibReader::IsTrackNotFound(const QByteArray& json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    return document.object().value(QLatin1String("name")).toString() == QLatin1String("TrackNotFound");
}
