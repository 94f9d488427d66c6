#include "common/ui/DialogTemplate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeWidget>
#include <QWidget>

#include <cmath>

namespace {

constexpr char kIdProperty[] = "controlId";

double dpiScale(const QWidget* reference)
{
    const QScreen* screen = reference && reference->screen() ? reference->screen() : nullptr;
    if (!screen)
        return 1.0;
    return screen->logicalDotsPerInch() / 96.0;
}

// MulDiv(value, numerator, denominator) with its rounding half away from zero.
int mulDiv(int value, double numerator, int denominator)
{
    const double exact = value * numerator / denominator;
    return static_cast<int>(exact < 0 ? std::ceil(exact - 0.5) : std::floor(exact + 0.5));
}

QWidget* createListView(QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setHeaderLabels({});
    list->setColumnCount(0);
    return list;
}

QWidget* createStandardControl(const DialogControl& control, QWidget* parent, QButtonGroup*& radioGroup)
{
    switch (control.kind) {
    case ControlKind::Label: return new QLabel(control.text, parent);
    case ControlKind::Static: return new QFrame(parent);
    case ControlKind::Edit: return new QLineEdit(control.text, parent);
    case ControlKind::ReadOnlyEdit: {
        auto* edit = new QLineEdit(control.text, parent);
        edit->setReadOnly(true);
        return edit;
    }
    case ControlKind::PushButton: {
        auto* button = new QPushButton(control.text, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(control.text, parent);
        button->setDefault(true);
        return button;
    }
    case ControlKind::CheckBox: return new QCheckBox(control.text, parent);
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(control.text, parent);
        if (control.groupStart || !radioGroup)
            radioGroup = new QButtonGroup(parent);
        radioGroup->addButton(radio);
        return radio;
    }
    case ControlKind::GroupBox: return new QGroupBox(control.text, parent);
    case ControlKind::ComboBox: return new QComboBox(parent);
    case ControlKind::ListView: return createListView(parent);
    case ControlKind::TreeView: return new QTreeWidget(parent);
    }
    return new QWidget(parent);
}

bool showsText(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Label:
    case ControlKind::PushButton:
    case ControlKind::DefaultButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: return true;
    default: return false;
    }
}

// How much wider the control must be to show its text whole (0 when it fits).
int missingTextWidth(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return std::max(0, label->sizeHint().width() - label->width());
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (!button || button->text().isEmpty())
        return 0;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(button))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(button))
        contents = QStyle::SE_RadioButtonContents;
    const int room = button->style()->subElementRect(contents, &option, button).width();
    QString shown = button->text();
    shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return std::max(0, button->fontMetrics().horizontalAdvance(shown) - room);
}

// The template's rectangles were made for the Japanese texts: a control whose text is wider (a
// translation) grows to the right, up to the next control beside it or the dialog's edge.
struct PlacedControl {
    QWidget* widget;
    QRect rect;
    bool showsText;
};

void growToTexts(QWidget* dialog, const std::vector<PlacedControl>& placed)
{
    constexpr int kGap = 2;
    for (const auto& [widget, rect, text] : placed) {
        const int missing = text ? missingTextWidth(widget) : 0;
        if (missing == 0)
            continue;
        int limit = dialog->width() - kGap;
        for (const PlacedControl& other : placed)
            if (other.widget != widget && other.rect.left() >= rect.right() && other.rect.top() <= rect.bottom() &&
                other.rect.bottom() >= rect.top())
                limit = std::min(limit, other.rect.left() - kGap);
        widget->resize(std::max(widget->width(), std::min(widget->width() + missing, limit - widget->x())),
                       widget->height());
    }
}

} // namespace

namespace DialogUnits {

QRect toPixels(const QRect& units, const QWidget* reference)
{
    const double scale = dpiScale(reference);
    const int left = mulDiv(units.x(), 6 * scale, 4);
    const int top = mulDiv(units.y(), 12 * scale, 8);
    const int right = mulDiv(units.x() + units.width(), 6 * scale, 4);
    const int bottom = mulDiv(units.y() + units.height(), 12 * scale, 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize toPixels(const QSize& units, const QWidget* reference)
{
    return toPixels(QRect(QPoint(0, 0), units), reference).size();
}

} // namespace DialogUnits

void ApplyDialogFont(QWidget* dialog)
{
    QFont font = dialog->font();
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")});
    font.setPointSize(9);
    dialog->setFont(font);
}

void BuildDialog(QWidget* dialog, const DialogTemplate& dialogTemplate, const CustomControlFactory& customFactory)
{
    if (!dialogTemplate.caption.isNull())
        dialog->setWindowTitle(dialogTemplate.caption);
    ApplyDialogFont(dialog);
    dialog->resize(DialogUnits::toPixels(dialogTemplate.size, dialog));
    QButtonGroup* radioGroup = nullptr;
    std::vector<PlacedControl> placed;
    for (const DialogControl& control : dialogTemplate.controls) {
        QWidget* widget = customFactory ? customFactory(control, dialog) : nullptr;
        if (!widget)
            widget = createStandardControl(control, dialog, radioGroup);
        if (control.kind != ControlKind::RadioButton)
            radioGroup = nullptr;
        if (control.id != -1)
            SetDlgCtrlId(widget, control.id);
        widget->setGeometry(DialogUnits::toPixels(control.rect, dialog));
        widget->show();
        placed.push_back({widget, widget->geometry(), showsText(control.kind)});
    }
    growToTexts(dialog, placed);
}

QWidget* GetDlgItem(const QWidget* dialog, int id)
{
    if (!dialog)
        return nullptr;
    return dialog->findChild<QWidget*>(QStringLiteral("id%1").arg(id));
}

int DlgCtrlId(const QWidget* control)
{
    const QVariant id = control ? control->property(kIdProperty) : QVariant();
    return id.isValid() ? id.toInt() : -1;
}

void SetDlgCtrlId(QWidget* control, int id)
{
    control->setObjectName(QStringLiteral("id%1").arg(id));
    control->setProperty(kIdProperty, id);
}
