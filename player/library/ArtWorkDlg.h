#pragma once

#include "common/ui/SizableDialog.h"

class CPictureCtrl;
class QComboBox;

// The artwork window: the playing track's picture at 25 %, 50 %, 100 % or fitted to the window,
// chosen in a drop-down list that is remembered. Modeless and owned by the main window; closing
// it (close button, Escape, the window's close box) destroys it.
class CArtWorkDlg : public CSizableDialog
{
    Q_OBJECT
public:
    enum ControlId {
        IdClose = 2,
        IdPicture = 1056,
        IdSizeCombo = 1057,
    };
    // The picture control's zoom for each entry of the drop-down list.
    static constexpr int Zooms[] = {25, 50, 100, 0};

    explicit CArtWorkDlg(QWidget* owner);
    ~CArtWorkDlg() override;

    static DialogTemplate Template();

    CPictureCtrl* Picture() const;
    QComboBox* SizeCombo() const;

public slots:
    // Enter does nothing.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    static QWidget* CreateControl(const DialogControl& control, QWidget* parent);
    void FitControlsToTheirTexts();
    void OnSizeSelected(int index);
};
