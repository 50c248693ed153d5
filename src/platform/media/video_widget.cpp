#include "platform/media/video_widget.h"

#include "platform/media/video_surface.h"

#include <QEvent>
#include <QOpenGLWidget>
#include <QPalette>
#include <QRegion>

namespace platform {

VideoWidget::VideoWidget(mpv_handle* mpv, QWidget* parent) : QWidget(parent), m_surface(new VideoSurface(mpv)) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    m_surface->setInputTarget(this);
    // The top-level window composes its widgets through OpenGL as soon as one of them needs
    // it (the web view does). Qt makes the window's native window anew when the first such
    // widget joins it later, and deletes the windows embedded in the old one with it; a
    // hidden OpenGL widget here makes the window compose through OpenGL from the start. It is
    // never shown, so it has no context and draws nothing.
    auto* composeThroughOpenGL = new QOpenGLWidget(this);
    composeThroughOpenGL->setGeometry(0, 0, 0, 0);
    composeThroughOpenGL->hide();
}

VideoWidget::~VideoWidget() {
    // Never embedded, the surface is this widget's alone.
    if (!m_container) delete m_surface;
}

void VideoWidget::showEvent(QShowEvent* e) {
    // The surface is embedded once the widget shows in the window it ends up in, not under a
    // native window made for its ancestors while they were being put together.
    if (!m_container && m_surface) {
        m_container = QWidget::createWindowContainer(m_surface, this);
        m_container->setGeometry(rect());
        m_container->show();
    }
    QWidget::showEvent(e);
}

bool VideoWidget::videoShown() const { return m_surface && m_surface->videoShown(); }

void VideoWidget::setVideoShown(bool shown) {
    if (m_surface) m_surface->setVideoShown(shown);
}

void VideoWidget::releaseRenderContext() {
    if (m_surface) m_surface->releaseRenderContext();
}

QImage VideoWidget::grabFramebuffer() { return m_surface ? m_surface->grabFrame() : QImage(); }

bool VideoWidget::event(QEvent* e) {
    // The picture's window shows the pointer the widget asks for (fullscreen hides it).
    if (e->type() == QEvent::CursorChange && m_surface) {
        if (testAttribute(Qt::WA_SetCursor)) m_surface->setCursor(cursor());
        else m_surface->unsetCursor();
    }
    return QWidget::event(e);
}

void VideoWidget::resizeEvent(QResizeEvent* e) {
    if (m_container) m_container->setGeometry(rect());
    applyCovered();
    QWidget::resizeEvent(e);
}

void VideoWidget::setCovered(const QRect& covered) {
    if (covered == m_covered) return;
    m_covered = covered;
    applyCovered();
}

void VideoWidget::applyCovered() {
    if (!m_surface) return;
    const QRect hole = m_covered.intersected(rect());
    m_surface->setMask(hole.isEmpty() ? QRegion() : QRegion(rect()).subtracted(hole));
}

} // namespace platform
