#pragma once

#include <QCollator>
#include <QString>

// The process's runtime locale, standing in for the C runtime's _wsetlocale: a Windows locale
// name ("jpn", "Japanese_Japan.932", "chs", "C", ...) selects a collation and an ANSI code page.
// It never touches setlocale(), which libmpv needs to stay "C" for numbers.
class RuntimeLocale
{
public:
    // The locale in force for the whole program.
    static RuntimeLocale& current();

    RuntimeLocale();

    // Returns false and keeps the previous locale when the name is not known.
    bool set(const QString& windowsName);

    QString name() const { return m_name; }
    int ansiCodePage() const { return m_ansiCodePage; }

    // wcscoll and _wcsicoll of the locale.
    int compare(const QString& a, const QString& b) const;
    int compareNoCase(const QString& a, const QString& b) const;

private:
    QString m_name;
    int m_ansiCodePage;
    QCollator m_collator;
    QCollator m_caseInsensitiveCollator;
    bool m_ordinal;
};
