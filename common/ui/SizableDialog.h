#pragma once

#include "common/ui/Anchor.h"
#include "common/ui/AnchorLayout.h"
#include "common/ui/DialogTemplate.h"
#include "common/ui/PlacementStore.h"

#include <QDialog>
#include <QRegion>

class QSizeGrip;

// The resizable dialog base of every resizable window of both programs.
//
// Construction builds the dialog from its template, adds the size grip and then runs the base
// initialisation: the size the window has now becomes its minimum tracking size, the grip goes
// to its corner and the layout starts acting. A derived window then, in its own constructor:
//   1. attaches its controls with AddAnchor (ids or widgets, two anchor points each);
//   2. sets SetMaxTrackSize / SetMinTrackSize / SetClipOnDesktop as its settings say;
//   3. calls EnableSaveRestore(section) last, so the restored rectangle already moves the
//      attached controls.
// On destruction the rectangle is saved to the section and the layout is emptied.
//
// Sizes here (tracking sizes, the stored rectangle) are the window's geometry as the toolkit
// keeps it, without the window manager's frame; desktop clipping works on the frame rectangle.
class CSizableDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CSizableDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr,
                            const CustomControlFactory& customFactory = {});
    ~CSizableDialog() override;

    int TemplateId() const { return m_templateId; }

    // Ties the control's top-left corner to `first` and its bottom-right corner to `second`
    // (AnchorNone: to `first`, so the control keeps its size), keeping today's distances.
    void AddAnchor(QWidget* control, AnchorPoint first, AnchorPoint second = AnchorNone);
    void AddAnchor(int controlId, AnchorPoint first, AnchorPoint second = AnchorNone);
    // New anchors for an attached control, distances taken from where it is now (after the
    // owner moved it itself); false when the control was never attached.
    bool Reanchor(QWidget* control, AnchorPoint first, AnchorPoint second = AnchorNone);
    // Applies the layout to the current client size: one batched update, unchanged controls
    // are not touched.
    void ArrangeLayout();
    const CAnchorLayout& Layout() const { return m_layout; }

    // Keeps the window inside the primary screen while it is sized (edges stop at the screen's
    // edges) and moved (snaps within 4 pixels of an edge). Off by default.
    void SetClipOnDesktop(bool clip) { m_clipOnDesktop = clip; }
    bool IsClipOnDesktop() const { return m_clipOnDesktop; }

    // Smallest and largest size the user can drag the window to; a disabled limit is lifted.
    void SetMinTrackSize(const QSize& size, bool enabled = true);
    void SetMaxTrackSize(const QSize& size, bool enabled = true);

    void ShowSizeGrip(bool show);

    // Always on top, without moving, sizing, showing or hiding the window.
    bool IsTopmost() const;
    void SetTopmost(bool topmost);
    QSizeGrip* SizeGrip() const { return m_grip; }

    // Restores the rectangle stored in the profile section at once (when all four values are
    // present and none is negative) and saves it on destruction. Rectangle-only mode keeps just
    // the rectangle; full mode also restores a maximised window maximised. False when nothing
    // was stored (the first start), so the window can choose where it first appears.
    bool EnableSaveRestore(const QString& section, bool rectangleOnly = true);
    // Writes the placement now (also done on destruction).
    void SavePlacement() const;
    // Moves and sizes the window, its controls following at once even while it is hidden.
    void PlaceWindow(const QRect& geometry);

    // The size grip's shape: the lower-right triangle of its rectangle.
    static QRegion GripRegion(const QSize& size);
    // The rectangle windows are kept in: the whole primary screen.
    static QRect DesktopRect();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateSizeGrip();
    void InitSizableDialog();
    void MoveSizeGrip();
    bool RestorePlacement();
    void ClampToDesktop();
    void SnapToDesktop();
    QMargins FrameMargins() const;

    int m_templateId = 0;
    CAnchorLayout m_layout;
    QSizeGrip* m_grip = nullptr;
    bool m_initDone = false;
    bool m_clipOnDesktop = false;
    bool m_adjusting = false;
    CPlacementStore m_placement;
};
