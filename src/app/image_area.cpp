#include "image_area.h"

#include "platform/forms/number_rules.h"

#include <QMouseEvent>

namespace app {

namespace {

int16_t buttonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int16_t buttonsOf(Qt::MouseButtons b) {
    return static_cast<int16_t>(((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
                                ((b & Qt::MiddleButton) ? 4 : 0));
}

int16_t shiftOf(Qt::KeyboardModifiers m) {
    return static_cast<int16_t>(((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) |
                                ((m & Qt::AltModifier) ? 4 : 0));
}

float twips(double pixels) { return static_cast<float>(pixels * platform::kTwipsPerPixel); }

} // namespace

ImageArea::ImageArea(QWidget* parent, const QString& name) : QWidget(parent) {
    setObjectName(name);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
}

void ImageArea::Move(int32_t left, int32_t top, int32_t w, int32_t h) {
    setGeometry(left, top, w < 0 ? width() : w, h < 0 ? height() : h);
}

void ImageArea::mousePressEvent(QMouseEvent* e) {
    emit MouseDown(buttonOf(e->button()), shiftOf(e->modifiers()), twips(e->position().x()), twips(e->position().y()));
}

void ImageArea::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void ImageArea::mouseMoveEvent(QMouseEvent* e) {
    emit MouseMove(buttonsOf(e->buttons()), shiftOf(e->modifiers()), twips(e->position().x()),
                   twips(e->position().y()));
}

void ImageArea::mouseReleaseEvent(QMouseEvent* e) {
    emit MouseUp(buttonOf(e->button()), shiftOf(e->modifiers()), twips(e->position().x()), twips(e->position().y()));
}

} // namespace app
