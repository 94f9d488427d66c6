#pragma once

#include <QHash>
#include <QString>

#include <optional>

// The program's version values as the build places them ("ProductName", "ProductVersion",
// "LegalCopyright", "CompanyName", "Comments"). Each executable registers its own at start-up;
// a program that registered none has no version resource.
class CVersionResource
{
public:
    CVersionResource() = default;
    CVersionResource(std::initializer_list<std::pair<QString, QString>> values);

    // The value of the name; none when the resource does not hold it.
    std::optional<QString> Value(const QString& name) const;
    bool IsEmpty() const { return m_values.isEmpty(); }

    // The resource of the running program.
    static const CVersionResource& Application();
    static void SetApplication(const CVersionResource& resource);

private:
    QHash<QString, QString> m_values;
};
