#pragma once

#include <QColor>
#include <QFont>

#include <functional>

class QWidget;

// The font and colour choosers (the platform's common dialogs), behind one seam like the message
// boxes: tests install a handler that records each request and answers it.
struct ChooserRequest {
    enum class Kind { Font, Color };
    Kind kind = Kind::Font;
    QFont font;           // the font chooser's start
    bool effects = false; // the font chooser also offers colour, underline and strike-out
    QColor color;         // the colour chooser's start; the font chooser's colour with effects
};

struct ChooserAnswer {
    bool accepted = false; // false: the user cancelled, nothing else counts
    QFont font;
    QColor color;          // with effects or from the colour chooser
};

using ChooserHandler = std::function<ChooserAnswer(const ChooserRequest&)>;

// Font chooser, modal over `parent`. With effects the answer's colour is the chosen text colour.
ChooserAnswer ChooseFont(QWidget* parent, const QFont& font, bool effects, const QColor& color = QColor());
// Colour chooser, modal over `parent`.
ChooserAnswer ChooseColor(QWidget* parent, const QColor& color);

// Replaces the real choosers (for tests); an empty handler restores them. Returns the previous one.
ChooserHandler SetChooserHandler(ChooserHandler handler);
