#include "common/ui/AboutDlg.h"

#include "common/ui/Ui.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kIconId = 128;

DialogControl label(int id, const char* text, int top)
{
    return {id, ControlKind::Label, QString::fromUtf8(text), QRect(40, top, 188, 8)};
}

QWidget* createIcon(const DialogControl& control, QWidget* parent)
{
    if (control.id != kIconId)
        return nullptr;
    auto* icon = new QLabel(parent);
    // The owner's icon: a window without one of its own shows the application's.
    icon->setPixmap(parent->windowIcon().pixmap(32, 32));
    return icon;
}

} // namespace

DialogTemplate CAboutDlg::Template(const QString& caption, bool withMediaPlayerVersion)
{
    DialogTemplate dialog;
    dialog.id = 100;
    dialog.caption = caption;
    dialog.controls = {
        {kIconId, ControlKind::Static, QString(), QRect(11, 14, 21, 20)},
        label(IdProductNameVersion, "ProductName & ProductVersion", 10),
        label(IdLegalCopyright, "LegalCopyright", 22),
        label(IdCompanyName, "CompanyName", 34),
        label(IdComments, "Comments", 46),
    };
    if (withMediaPlayerVersion) {
        dialog.controls.push_back(
            {-1, ControlKind::GroupBox, Ui::tr("MediaPlayerのバージョン"), QRect(7, 60, 160, 26)});
        dialog.controls.push_back({IdMediaPlayerVersion, ControlKind::Label, QStringLiteral("version of WMP"),
                                   QRect(14, 72, 146, 8)});
    }
    const int bottom = withMediaPlayerVersion ? 94 : 80;
    dialog.controls.push_back({1, ControlKind::DefaultButton, QStringLiteral("OK"), QRect(178, bottom - 18, 50, 14)});
    dialog.size = QSize(235, bottom);
    return dialog;
}

CAboutDlg::CAboutDlg(const QString& caption, bool withMediaPlayerVersion, QWidget* parent,
                     const CVersionResource& resource)
    : QDialog(parent)
{
    BuildDialog(this, Template(caption, withMediaPlayerVersion), createIcon);
    setFixedSize(size());
    connect(DlgItem<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    FillFromResource(resource);
    SetLabel(IdMediaPlayerVersion, m_mediaPlayerVersion);
    GiveTextLinesTheirHeight();
    PlaceVersionInItsFrame();
}

void CAboutDlg::GiveTextLinesTheirHeight()
{
    // The template's 8 units are shorter than the font's line, which cut the letters below the
    // baseline (p, y, g); each line grows about its centre, as far as the 12 units between lines allow.
    const int pitch = DialogUnits::toPixels(QSize(0, 12), this).height();
    for (const int id : {IdProductNameVersion, IdLegalCopyright, IdCompanyName, IdComments}) {
        auto* line = DlgItem<QLabel>(this, id);
        if (!line)
            continue;
        const int grow = (std::max(0, std::min(line->fontMetrics().height(), pitch) - line->height()) + 1) / 2;
        line->setGeometry(line->geometry().adjusted(0, -grow, 0, grow));
    }
}

void CAboutDlg::PlaceVersionInItsFrame()
{
    // The template's rectangle puts the version where a frame title of 8 units ends; the font's
    // title is taller, so the version goes below it, inside the frame, as high as a line of text.
    auto* version = DlgItem<QLabel>(this, IdMediaPlayerVersion);
    auto* frame = findChild<QGroupBox*>();
    if (!version || !frame)
        return;
    // A frame too short for the line grows down, and the box with it, keeping the margin below.
    const int line = version->fontMetrics().height() + 2 * version->frameWidth();
    if (const int missing = line - frame->contentsRect().height(); missing > 0) {
        frame->resize(frame->width(), frame->height() + missing);
        setFixedSize(width(), height() + missing);
    }
    const QRect inside = frame->contentsRect().translated(frame->pos());
    const int height = std::min(inside.height(), line);
    version->setGeometry(version->x(), inside.top() + (inside.height() - height) / 2,
                         std::min(version->width(), inside.right() - version->x()), height);
}

QString CAboutDlg::ProductNameAndVersion(const CVersionResource& resource)
{
    QString text = resource.Value(QStringLiteral("ProductName")).value_or(QString());
    if (const auto version = resource.Value(QStringLiteral("ProductVersion")))
        text += QStringLiteral(" ver ") + *version;
    return text;
}

void CAboutDlg::FillFromResource(const CVersionResource& resource)
{
    if (resource.IsEmpty())
        return;
    SetLabel(IdProductNameVersion, ProductNameAndVersion(resource));
    const std::pair<int, const char*> values[] = {
        {IdLegalCopyright, "LegalCopyright"}, {IdCompanyName, "CompanyName"}, {IdComments, "Comments"}};
    for (const auto& [id, name] : values) {
        // The comment is the program's Japanese description, shown in the interface's language.
        if (const auto value = resource.Value(QString::fromLatin1(name)))
            SetLabel(id, id == IdComments ? Ui::tr(value->toUtf8().constData()) : *value);
    }
}

void CAboutDlg::SetMediaPlayerVersion(const QString& version)
{
    m_mediaPlayerVersion = version;
    SetLabel(IdMediaPlayerVersion, version);
}

void CAboutDlg::SetLabel(int id, const QString& text)
{
    if (auto* labelWidget = DlgItem<QLabel>(this, id))
        labelWidget->setText(text);
}
