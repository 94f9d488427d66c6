#include "common/ui/VersionResource.h"

namespace {

CVersionResource& applicationResource()
{
    static CVersionResource resource;
    return resource;
}

} // namespace

CVersionResource::CVersionResource(std::initializer_list<std::pair<QString, QString>> values)
{
    for (const auto& [name, value] : values)
        m_values.insert(name, value);
}

std::optional<QString> CVersionResource::Value(const QString& name) const
{
    const auto found = m_values.constFind(name);
    if (found == m_values.constEnd())
        return std::nullopt;
    return *found;
}

const CVersionResource& CVersionResource::Application()
{
    return applicationResource();
}

void CVersionResource::SetApplication(const CVersionResource& resource)
{
    applicationResource() = resource;
}
