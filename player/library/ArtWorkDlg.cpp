#include "player/library/ArtWorkDlg.h"

#include "common/ui/Ui.h"
#include "platform/profile/Profile.h"
#include "player/library/PictureCtrl.h"
#include "player/settings/ProfileHelpers.h"
#include "player/settings/SettingsKeys.h"

#include <QComboBox>
#include <QPushButton>

#include <algorithm>
#include <iterator>

using namespace Settings;

namespace {

constexpr int kZoomCount = int(std::size(CArtWorkDlg::Zooms));

// The stored drop-down entry, written with the default at once when missing. A value that names
// no entry falls back to the default too, so the picture is always shown at some size.
int ReadSizeIndex()
{
    const int index = GetProfileIntInit(ArtWorkDlg::Section, ArtWorkDlg::PictSizeCB, ArtWorkDlg::DefaultPictSizeCB);
    return index >= 0 && index < kZoomCount ? index : ArtWorkDlg::DefaultPictSizeCB;
}

} // namespace

CArtWorkDlg::CArtWorkDlg(QWidget* owner) : CSizableDialog(Template(), owner, &CArtWorkDlg::CreateControl)
{
    setAttribute(Qt::WA_DeleteOnClose);
    QComboBox* combo = SizeCombo();
    combo->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("100%"), Ui::tr("自動伸縮")});
    FitControlsToTheirTexts();
    connect(DlgItem<QPushButton>(this, IdClose), &QPushButton::clicked, this, &CArtWorkDlg::reject);

    AddAnchor(IdPicture, AnchorTopLeft, AnchorBottomRight);
    AddAnchor(IdSizeCombo, AnchorBottomLeft, AnchorNone);
    AddAnchor(IdClose, AnchorBottomRight, AnchorNone);
    EnableSaveRestore(QString::fromLatin1(ArtWorkDlg::Section));

    combo->setCurrentIndex(ReadSizeIndex());
    OnSizeSelected(combo->currentIndex());
    connect(combo, &QComboBox::currentIndexChanged, this, &CArtWorkDlg::OnSizeSelected);
}

void CArtWorkDlg::FitControlsToTheirTexts()
{
    // The template's combo height is that of the opened list; the closed box is as high as its
    // text. Its width was made for a narrower font: it grows to show "自動伸縮" whole, the close
    // button moves along and the window widens when they no longer fit.
    QComboBox* combo = SizeCombo();
    QWidget* close = GetDlgItem(this, IdClose);
    const int gap = close->x() - (combo->x() + combo->width());
    const int margin = width() - (close->x() + close->width());
    combo->resize(std::max(combo->width(), combo->sizeHint().width()), combo->sizeHint().height());
    close->move(std::max(close->x(), combo->x() + combo->width() + gap), close->y());
    const int needed = close->x() + close->width() + margin;
    if (needed > width()) {
        resize(needed, height());
        Picture()->resize(needed, Picture()->height());
        SetMinTrackSize(size());
    }
}

CArtWorkDlg::~CArtWorkDlg()
{
    WriteProfileInt(ArtWorkDlg::Section, ArtWorkDlg::PictSizeCB, SizeCombo()->currentIndex());
}

DialogTemplate CArtWorkDlg::Template()
{
    using K = ControlKind;
    return DialogTemplate{156,
                          Ui::tr("アートワーク"),
                          QSize(90, 85),
                          {
                              {IdPicture, K::Static, QString(), QRect(0, 0, 90, 60)},
                              {IdSizeCombo, K::ComboBox, QString(), QRect(5, 65, 44, 64)},
                              {IdClose, K::PushButton, Ui::tr("閉じる"), QRect(55, 65, 30, 14)},
                          }};
}

QWidget* CArtWorkDlg::CreateControl(const DialogControl& control, QWidget* parent)
{
    return control.id == IdPicture ? new CPictureCtrl(parent) : nullptr;
}

CPictureCtrl* CArtWorkDlg::Picture() const
{
    return DlgItem<CPictureCtrl>(this, IdPicture);
}

QComboBox* CArtWorkDlg::SizeCombo() const
{
    return DlgItem<QComboBox>(this, IdSizeCombo);
}

void CArtWorkDlg::accept()
{
}

void CArtWorkDlg::showEvent(QShowEvent* event)
{
    CSizableDialog::showEvent(event);
    // Shown again for the next track with a picture, the window stays where the user moved it
    // rather than being centred on the main window once more.
    setAttribute(Qt::WA_Moved);
}

void CArtWorkDlg::OnSizeSelected(int index)
{
    if (index >= 0 && index < kZoomCount)
        Picture()->SetZoom(Zooms[index]);
}
