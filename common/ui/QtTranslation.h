#pragma once

#include <QString>
#include <QStringList>

// The language of the user interface. Japanese is the source of every text; English comes from
// the programs' catalogue. Profile keys, file formats and what is written into files never depend
// on it.
enum class UiLanguage { Japanese, English };

// The "Language" setting: "ja" or "en" as it says; anything else ("auto", empty) follows the
// desktop's languages (QLocale::system().uiLanguages(), which reads LANGUAGE, LC_ALL, LC_MESSAGES
// and LANG): the first that is Japanese or English decides, English when none is.
UiLanguage ChooseUiLanguage(const QString& setting, const QStringList& desktopLanguages);
UiLanguage ChooseUiLanguage(const QString& setting);

// Installs the language's translations at start-up: for Japanese, Qt's own texts (standard
// buttons, the font and colour choosers) from the system's Qt translations, so message-box buttons
// read はい, いいえ, キャンセル and OK as on the original platform; for English, the programs'
// catalogue (Qt's own texts are English already). A second call changes nothing. Returns false when
// the translation could not be loaded, leaving the texts as they were.
bool InstallTranslations(UiLanguage language);

// Qt's own texts in Japanese: InstallTranslations(UiLanguage::Japanese).
bool InstallQtTranslation();

// The setting's values as the profile stores them.
namespace UiLanguageSetting {
inline constexpr char Key[] = "Language";
inline constexpr char Auto[] = "auto";
inline constexpr char Japanese[] = "ja";
inline constexpr char English[] = "en";
} // namespace UiLanguageSetting
