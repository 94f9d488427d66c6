#include "player/karaoke/RubySetting.h"

#include "platform/profile/Profile.h"

namespace {

const QString kSection = QStringLiteral("CKaraokeStatic");
const QString kKey = QStringLiteral("RubyMode");
constexpr int kDefault = int(RubyMode::Automatic);

} // namespace

CRubySetting& CRubySetting::Instance()
{
    static CRubySetting setting;
    return setting;
}

RubyMode CRubySetting::Mode() const
{
    const int value = GetProfileInt(kSection, kKey, kDefault);
    return value >= int(RubyMode::None) && value <= int(RubyMode::Automatic) ? RubyMode(value) : RubyMode::Automatic;
}

void CRubySetting::SetMode(RubyMode mode)
{
    const bool changed = mode != Mode();
    WriteProfileInt(kSection, kKey, int(mode));
    if (changed)
        emit ModeChanged(mode);
}
