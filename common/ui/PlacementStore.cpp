#include "common/ui/PlacementStore.h"

#include "platform/profile/Profile.h"

namespace {

constexpr char kLeft[] = "Left";
constexpr char kTop[] = "Top";
constexpr char kRight[] = "Right";
constexpr char kBottom[] = "Bottom";
constexpr char kMaximized[] = "Maximized";

} // namespace

void CPlacementStore::Enable(const QString& section, bool rectangleOnly)
{
    m_enabled = true;
    m_section = section;
    m_rectangleOnly = rectangleOnly;
}

std::optional<QRect> CPlacementStore::ReadRectangle() const
{
    const int left = GetProfileInt(m_section, kLeft, -1);
    const int top = GetProfileInt(m_section, kTop, -1);
    const int right = GetProfileInt(m_section, kRight, -1);
    const int bottom = GetProfileInt(m_section, kBottom, -1);
    if (left < 0 || top < 0 || right < 0 || bottom < 0)
        return std::nullopt;
    return QRect(left, top, right - left, bottom - top);
}

bool CPlacementStore::ReadMaximized() const
{
    return !m_rectangleOnly && GetProfileInt(m_section, kMaximized, 0) != 0;
}

void CPlacementStore::Save(const QRect& normal, bool maximized) const
{
    if (!m_enabled || !normal.isValid())
        return;
    WriteProfileInt(m_section, kLeft, normal.x());
    WriteProfileInt(m_section, kTop, normal.y());
    WriteProfileInt(m_section, kRight, normal.x() + normal.width());
    WriteProfileInt(m_section, kBottom, normal.y() + normal.height());
    if (!m_rectangleOnly)
        WriteProfileInt(m_section, kMaximized, maximized ? 1 : 0);
}
