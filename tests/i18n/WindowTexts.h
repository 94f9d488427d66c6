#pragma once

#include <QString>
#include <QStringList>

class QMenu;
class QWidget;

// What a window shows of its own texts, read from the real widgets: the caption, labels, buttons,
// group titles, tool tips, placeholders, header labels and the entries of its menus (the menus
// parented to it and the actions of its widgets, pop-ups included).
namespace WindowTexts {

// Each text with where it was found ("KaraokeDlg: QPushButton id1002 'Close'").
QStringList shown(const QWidget* window, const QString& name);
QStringList shownInMenu(const QMenu* menu, const QString& name);

// Hiragana, katakana, CJK ideographs or full- and half-width forms.
bool hasJapanese(const QString& text);
// The texts of `texts` (as `shown` gives them) that carry Japanese.
QStringList japanese(const QStringList& texts);

// The visible labels, buttons, check boxes, radio buttons and group boxes whose text (each line,
// without its mnemonic) is wider than the room the control leaves it.
QStringList clipped(const QWidget* window, const QString& name);

} // namespace WindowTexts
