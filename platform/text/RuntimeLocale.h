#pragma once

#include <QCollator>
#include <QString>

#include <optional>

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

    // A text made ready for many comparisons (wcsxfrm): two keys compare as compare() compares
    // their texts, without collating the texts again. For sorting many texts.
    class SortKey
    {
    public:
        SortKey() = default;
        int compare(const SortKey& other) const;

    private:
        friend class RuntimeLocale;
        QString m_text;
        std::optional<QCollatorSortKey> m_collated; // none in the ordinal "C" locale
    };
    SortKey sortKey(const QString& text) const;

private:
    QString m_name;
    int m_ansiCodePage;
    QCollator m_collator;
    QCollator m_caseInsensitiveCollator;
    bool m_ordinal;
};
