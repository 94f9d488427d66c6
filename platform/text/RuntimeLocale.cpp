#include "platform/text/RuntimeLocale.h"

#include <QLocale>

#include <optional>

namespace {

struct LanguageEntry {
    const char* names[4]; // abbreviation, English name, ISO code, spare
    QLocale::Language language;
    QLocale::Territory territory;
    int ansiCodePage;
};

constexpr LanguageEntry kLanguages[] = {
    {{"jpn", "japanese", "ja", nullptr}, QLocale::Japanese, QLocale::Japan, 932},
    {{"chs", "chinese-simplified", "zh-cn", "chinese"}, QLocale::Chinese, QLocale::China, 936},
    {{"cht", "chinese-traditional", "zh-tw", nullptr}, QLocale::Chinese, QLocale::Taiwan, 950},
    {{"kor", "korean", "ko", nullptr}, QLocale::Korean, QLocale::SouthKorea, 949},
    {{"enu", "english", "en", "eng"}, QLocale::English, QLocale::UnitedStates, 1252},
    {{"deu", "german", "de", nullptr}, QLocale::German, QLocale::Germany, 1252},
    {{"fra", "french", "fr", nullptr}, QLocale::French, QLocale::France, 1252},
    {{"ita", "italian", "it", nullptr}, QLocale::Italian, QLocale::Italy, 1252},
    {{"esp", "spanish", "es", nullptr}, QLocale::Spanish, QLocale::Spain, 1252},
    {{"ptg", "portuguese", "pt", nullptr}, QLocale::Portuguese, QLocale::Portugal, 1252},
    {{"nld", "dutch", "nl", nullptr}, QLocale::Dutch, QLocale::Netherlands, 1252},
    {{"sve", "swedish", "sv", nullptr}, QLocale::Swedish, QLocale::Sweden, 1252},
    {{"plk", "polish", "pl", nullptr}, QLocale::Polish, QLocale::Poland, 1250},
    {{"csy", "czech", "cs", nullptr}, QLocale::Czech, QLocale::CzechRepublic, 1250},
    {{"hun", "hungarian", "hu", nullptr}, QLocale::Hungarian, QLocale::Hungary, 1250},
    {{"rus", "russian", "ru", nullptr}, QLocale::Russian, QLocale::Russia, 1251},
    {{"ell", "greek", "el", nullptr}, QLocale::Greek, QLocale::Greece, 1253},
    {{"trk", "turkish", "tr", nullptr}, QLocale::Turkish, QLocale::Turkey, 1254},
    {{"heb", "hebrew", "he", nullptr}, QLocale::Hebrew, QLocale::Israel, 1255},
    {{"ara", "arabic", "ar", nullptr}, QLocale::Arabic, QLocale::SaudiArabia, 1256},
    {{"tha", "thai", "th", nullptr}, QLocale::Thai, QLocale::Thailand, 874},
    {{"vit", "vietnamese", "vi", nullptr}, QLocale::Vietnamese, QLocale::Vietnam, 1258},
};

struct Resolved {
    std::optional<QLocale> collation; // none: ordinal comparison of the "C" locale
    int ansiCodePage;
};

const LanguageEntry* findLanguage(const QString& language)
{
    const QString lower = language.toLower();
    for (const auto& entry : kLanguages)
        for (const char* name : entry.names)
            if (name && lower == QLatin1String(name))
                return &entry;
    return nullptr;
}

// "Language[_Country][.CodePage]", ".CodePage", "C", or a BCP 47 tag such as "ja-JP".
std::optional<Resolved> resolve(const QString& name)
{
    if (name == QLatin1String("C"))
        return Resolved{std::nullopt, 28591};
    const qsizetype dot = name.indexOf('.');
    const QString languagePart = (dot < 0 ? name : name.left(dot)).section('_', 0, 0);
    std::optional<int> explicitPage;
    if (dot >= 0) {
        bool ok = false;
        const int page = name.mid(dot + 1).toInt(&ok);
        if (!ok)
            return std::nullopt;
        explicitPage = page;
    }
    if (languagePart.isEmpty()) {
        if (!explicitPage)
            return std::nullopt;
        return Resolved{QLocale::system(), *explicitPage};
    }
    const LanguageEntry* entry = findLanguage(languagePart);
    if (!entry)
        entry = findLanguage(languagePart.section('-', 0, 0));
    if (!entry)
        return std::nullopt;
    return Resolved{QLocale(entry->language, entry->territory), explicitPage.value_or(entry->ansiCodePage)};
}

} // namespace

RuntimeLocale& RuntimeLocale::current()
{
    static RuntimeLocale locale;
    return locale;
}

RuntimeLocale::RuntimeLocale() : m_name("C"), m_ansiCodePage(28591), m_ordinal(true)
{
}

bool RuntimeLocale::set(const QString& windowsName)
{
    const auto resolved = resolve(windowsName);
    if (!resolved)
        return false;
    m_name = windowsName;
    m_ansiCodePage = resolved->ansiCodePage;
    m_ordinal = !resolved->collation.has_value();
    if (!m_ordinal) {
        m_collator = QCollator(*resolved->collation);
        m_caseInsensitiveCollator = QCollator(*resolved->collation);
        m_caseInsensitiveCollator.setCaseSensitivity(Qt::CaseInsensitive);
    }
    return true;
}

int RuntimeLocale::compare(const QString& a, const QString& b) const
{
    if (m_ordinal)
        return QString::compare(a, b, Qt::CaseSensitive);
    return m_collator.compare(a, b);
}

RuntimeLocale::SortKey RuntimeLocale::sortKey(const QString& text) const
{
    SortKey key;
    key.m_text = text;
    // A collator of the "C" locale compares the texts themselves, which the key then does too.
    if (!m_ordinal && !text.isEmpty() && m_collator.locale().language() != QLocale::C)
        key.m_collated = m_collator.sortKey(text);
    return key;
}

int RuntimeLocale::SortKey::compare(const SortKey& other) const
{
    // QCollator::compare puts an empty text first before it collates anything; so do the keys.
    if (m_text.isEmpty() || other.m_text.isEmpty())
        return int(!m_text.isEmpty()) - int(!other.m_text.isEmpty());
    if (!m_collated || !other.m_collated)
        return QString::compare(m_text, other.m_text, Qt::CaseSensitive);
    return m_collated->compare(*other.m_collated);
}

int RuntimeLocale::compareNoCase(const QString& a, const QString& b) const
{
    if (m_ordinal)
        return QString::compare(a, b, Qt::CaseInsensitive);
    return m_caseInsensitiveCollator.compare(a, b);
}
