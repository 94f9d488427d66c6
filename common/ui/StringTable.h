#pragma once

#include <QString>
#include <QStringList>

#include <initializer_list>
#include <utility>

// The program's string table: id -> exact text, for captions, menus, headers and messages.
// Each program registers its own table at start-up. The texts are the Japanese sources, each marked
// QT_TRANSLATE_NOOP("Ui", ...) so the catalogue has it, and shown through Ui::tr.
namespace StringTable {

void add(std::initializer_list<std::pair<int, const char*>> entries);
// The text of the id, or an empty text when the table has none.
QString text(int id);
// Every registered source text, untranslated.
QStringList sources();

// The text with its printf-style placeholders (%s, %d) filled in order, as CString::Format did.
QString format(int id, const QStringList& arguments);

} // namespace StringTable

// Fills "%s" / "%d" placeholders in order; "%%" gives "%".
QString FormatPrintf(const QString& pattern, const QStringList& arguments);
