#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct mpv_handle;

// Reading mpv properties as the engine's own types; a property mpv cannot give reads as none,
// 0 or an empty text.
namespace MpvProperties {

std::optional<double> doubleProperty(mpv_handle* mpv, const char* name);
int64_t intProperty(mpv_handle* mpv, const QByteArray& name);
QString stringProperty(mpv_handle* mpv, const QByteArray& name);

// The first entry of the open file's track list of a type ("audio", "video") that is not cover
// art, as "track-list/N/"; empty when there is none. With `selectedOnly`, only a track mpv plays.
QByteArray trackPrefix(mpv_handle* mpv, const char* type, bool selectedOnly);

} // namespace MpvProperties
