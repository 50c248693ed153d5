#pragma once
// ImageArea: a transparent, windowless hit area on a form or picture box (an image control
// without a picture). It paints nothing and reports pointer events with X and Y in twips
// (platform::kTwipsPerPixel a pixel) of its own area, as such controls do.

#include <QWidget>
#include <cstdint>

namespace app {

class ImageArea : public QWidget {
    Q_OBJECT

public:
    explicit ImageArea(QWidget* parent, const QString& name = QString());

    int32_t Left() const { return x(); }
    int32_t Top() const { return y(); }
    int32_t Width() const { return width(); }
    int32_t Height() const { return height(); }
    // Moves the area (pixels); a negative width or height keeps the current one.
    void Move(int32_t left, int32_t top, int32_t w = -1, int32_t h = -1);

signals:
    void MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void MouseUp(int16_t Button, int16_t Shift, float X, float Y);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
};

} // namespace app
