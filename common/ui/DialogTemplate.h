#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

// A dialog described as on Windows: controls with an id, a kind, a text and a rectangle in
// dialog units. The builder creates a Qt widget per control at its pixel rectangle; positions
// are then kept by the anchor model of CSizableDialog, not by Qt layouts.
enum class ControlKind {
    Label,          // static text, left aligned
    Static,         // an empty static area that a custom class takes over
    Edit,
    ReadOnlyEdit,
    PushButton,
    DefaultButton,
    CheckBox,
    RadioButton,    // the first of a group starts a new exclusive group
    GroupBox,
    ComboBox,
    ListView,       // report view
    TreeView,
};

struct DialogControl {
    int id = -1;    // -1: a control nobody addresses (labels)
    ControlKind kind = ControlKind::Label;
    QString text;
    QRect rect;     // dialog units: x, y, width, height
    bool groupStart = false;
};

struct DialogTemplate {
    int id = 0;
    QString caption;
    QSize size;     // client size in dialog units
    std::vector<DialogControl> controls;
};

// Creates the control's widget instead of the standard one; returns nullptr to keep the standard.
using CustomControlFactory = std::function<QWidget*(const DialogControl&, QWidget* parent)>;

namespace DialogUnits {
// Dialog units to pixels with base units 6 x 12 at 96 dpi, scaled by the screen's logical dpi,
// rounded as MulDiv did.
QRect toPixels(const QRect& dialogUnits, const QWidget* reference = nullptr);
QSize toPixels(const QSize& dialogUnits, const QWidget* reference = nullptr);
} // namespace DialogUnits

// The dialog font: "ＭＳ Ｐゴシック" 9 pt, with the Japanese fonts Debian has after it.
void ApplyDialogFont(QWidget* dialog);

// Sets the caption and client size and creates every control in template order.
void BuildDialog(QWidget* dialog, const DialogTemplate& dialogTemplate,
                 const CustomControlFactory& customFactory = {});

// GetDlgItem: the control with the id, or nullptr.
QWidget* GetDlgItem(const QWidget* dialog, int id);
template <typename T>
T* DlgItem(const QWidget* dialog, int id)
{
    return qobject_cast<T*>(GetDlgItem(dialog, id));
}
// The id a control was built with, or -1.
int DlgCtrlId(const QWidget* control);
// Gives a widget made elsewhere the id, so GetDlgItem finds it.
void SetDlgCtrlId(QWidget* control, int id);
