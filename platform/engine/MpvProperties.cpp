#include "platform/engine/MpvProperties.h"

#include <mpv/client.h>

namespace MpvProperties {

std::optional<double> doubleProperty(mpv_handle* mpv, const char* name)
{
    double value = 0;
    if (mpv_get_property(mpv, name, MPV_FORMAT_DOUBLE, &value) < 0)
        return std::nullopt;
    return value;
}

int64_t intProperty(mpv_handle* mpv, const QByteArray& name)
{
    int64_t value = 0;
    mpv_get_property(mpv, name.constData(), MPV_FORMAT_INT64, &value);
    return value;
}

QString stringProperty(mpv_handle* mpv, const QByteArray& name)
{
    char* value = mpv_get_property_string(mpv, name.constData());
    const QString text = QString::fromUtf8(value);
    mpv_free(value);
    return text;
}

QByteArray trackPrefix(mpv_handle* mpv, const char* type, bool selectedOnly)
{
    const int64_t tracks = intProperty(mpv, "track-list/count");
    for (int64_t i = 0; i < tracks; ++i) {
        const QByteArray prefix = "track-list/" + QByteArray::number(i) + '/';
        if (stringProperty(mpv, prefix + "type") != QLatin1String(type) ||
            stringProperty(mpv, prefix + "albumart") == QLatin1String("yes"))
            continue;
        if (selectedOnly && stringProperty(mpv, prefix + "selected") != QLatin1String("yes"))
            continue;
        return prefix;
    }
    return {};
}

} // namespace MpvProperties
