#include "player/karaoke/HeaderRuby.h"

namespace {

constexpr QStringView kKey = u"@Ruby";

// The value after "@RubyN=", or a null view.
QStringView valueOf(QStringView line)
{
    if (!line.startsWith(kKey, Qt::CaseInsensitive))
        return {};
    qsizetype at = kKey.size();
    while (at < line.size() && line[at] >= u'0' && line[at] <= u'9')
        ++at;
    if (at == kKey.size() || at >= line.size() || line[at] != u'=')
        return {};
    return line.sliced(at + 1);
}

// An empty field is an open side; anything but one time tag spoils the line.
bool readTime(QStringView field, std::optional<LyricTime>& time)
{
    field = field.trimmed();
    if (field.isEmpty())
        return true;
    LyricTime value = 0;
    if (CRubyReading::TagLength(field, value) != field.size())
        return false;
    time = value;
    return true;
}

} // namespace

bool CHeaderRuby::LooksLikeRubyLine(QStringView line)
{
    return !valueOf(line).isNull();
}

std::optional<CHeaderRuby> CHeaderRuby::Parse(QStringView line)
{
    const QStringView value = valueOf(line);
    if (value.isNull())
        return std::nullopt;
    const auto fields = value.split(u',');
    if (fields.size() < 2 || fields.size() > 4 || fields[0].trimmed().isEmpty())
        return std::nullopt;
    auto reading = CRubyReading::Parse(fields[1].trimmed());
    if (!reading)
        return std::nullopt;
    CHeaderRuby ruby;
    ruby.Base = fields[0].trimmed().toString();
    ruby.Reading = std::move(*reading);
    if ((fields.size() > 2 && !readTime(fields[2], ruby.From)) || (fields.size() > 3 && !readTime(fields[3], ruby.Until)))
        return std::nullopt;
    return ruby;
}
