#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QImage>
#include <QWidget>

// A picture on a white ground: the artwork thumbnail of the main window and the picture of the
// artwork window. It keeps one decoded picture and draws it from the top-left corner unscaled
// (zoom 100), at 25 % or 50 %, or fitted to the control with its proportions kept (zoom 0),
// clipped to the control.
class CPictureCtrl : public QWidget
{
    Q_OBJECT
public:
    static constexpr QRgb BackgroundColor = qRgb(255, 255, 255);

    explicit CPictureCtrl(QWidget* parent = nullptr);

    // Decodes the picture and shows it; false, with the control unchanged, when it cannot be
    // decoded.
    bool SetPicture(QByteArrayView data);
    // Shows a decoded picture; a null image clears.
    void SetImage(const QImage& image);
    // Drops the picture: only the background is drawn.
    void Clear();
    const QImage& Image() const { return m_image; }

    // Percent; 0 fits the picture to the control. Repaints when the value changes.
    void SetZoom(int percent);
    int Zoom() const { return m_zoom; }

    // The size a picture is drawn at in a control of `client` size: zoom percent of the
    // picture's size, or for zoom 0 the largest size with the picture's proportions that fits.
    static QSize DrawSize(const QSize& picture, const QSize& client, int zoom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The picture smoothly scaled to the size, kept until the size or the picture changes.
    const QImage& ScaledTo(const QSize& size);

    QImage m_image;
    QImage m_scaled;
    int m_zoom = 0;
};
