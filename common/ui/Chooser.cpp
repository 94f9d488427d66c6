#include "common/ui/Chooser.h"

#include "common/ui/Ui.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

ChooserHandler& handler()
{
    static ChooserHandler current;
    return current;
}

QIcon swatch(const QColor& color)
{
    QPixmap pixmap(32, 14);
    pixmap.fill(color);
    return QIcon(pixmap);
}

// Qt 6.4 has no option to leave out the underline and strike-out boxes: their group is the one
// holding check boxes. The sample beside it takes its height from that group's rows, so it keeps
// the group's height or it would shrink to a line.
void hideEffects(QFontDialog* fonts)
{
    QGroupBox* effects = nullptr;
    QGroupBox* sample = nullptr;
    for (QGroupBox* group : fonts->findChildren<QGroupBox*>())
        (group->findChildren<QCheckBox*>().isEmpty() ? sample : effects) = group;
    if (!effects)
        return;
    if (sample)
        sample->setMinimumHeight(effects->sizeHint().height());
    effects->hide();
}

// The colour row of the font chooser with effects: a swatch that opens the colour chooser.
void addColorRow(QDialog& dialog, QVBoxLayout* layout, QColor& chosen)
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(Ui::tr("色(&C):"), &dialog);
    auto* button = new QPushButton(&dialog);
    button->setAutoDefault(false);
    button->setIconSize(QSize(32, 14));
    button->setIcon(swatch(chosen));
    label->setBuddy(button);
    QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, button, &chosen] {
        const QColor picked = QColorDialog::getColor(chosen, &dialog);
        if (picked.isValid()) {
            chosen = picked;
            button->setIcon(swatch(picked));
        }
    });
    row->addWidget(label);
    row->addWidget(button);
    row->addStretch();
    layout->addLayout(row);
}

// QFontDialog has no text colour: it is shown inside a dialog of our own that adds the colour
// row the platform's font chooser had with effects.
ChooserAnswer runFontChooser(QWidget* parent, const QFont& font, bool effects, const QColor& color)
{
    QDialog dialog(parent);
    auto* fonts = new QFontDialog(&dialog);
    fonts->setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons);
    fonts->setWindowFlags(Qt::Widget);
    fonts->setSizeGripEnabled(false);
    if (!effects)
        hideEffects(fonts);
    fonts->setCurrentFont(font);
    dialog.setWindowTitle(fonts->windowTitle());
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts);
    QColor chosen = color;
    if (effects)
        addColorRow(dialog, layout, chosen);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return {true, fonts->currentFont(), chosen};
}

} // namespace

ChooserAnswer ChooseFont(QWidget* parent, const QFont& font, bool effects, const QColor& color)
{
    if (handler())
        return handler()({ChooserRequest::Kind::Font, font, effects, color});
    return runFontChooser(parent, font, effects, color);
}

ChooserAnswer ChooseColor(QWidget* parent, const QColor& color)
{
    if (handler())
        return handler()({ChooserRequest::Kind::Color, QFont(), false, color});
    const QColor picked = QColorDialog::getColor(color, parent);
    if (!picked.isValid())
        return {};
    return {true, QFont(), picked};
}

ChooserHandler SetChooserHandler(ChooserHandler replacement)
{
    ChooserHandler previous = std::move(handler());
    handler() = std::move(replacement);
    return previous;
}
