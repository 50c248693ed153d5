#include "platform/media/video_surface.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <cmath>
#include <mpv/render_gl.h>

namespace platform {

VideoSurface::VideoSurface(mpv_handle* mpv) : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate), m_mpv(mpv) {
    // The top-level window keeps the keyboard focus when the picture is clicked.
    setFlag(Qt::WindowDoesNotAcceptFocus);
}

VideoSurface::~VideoSurface() { freeRenderContext(); }

void VideoSurface::setVideoShown(bool shown) {
    if (shown == m_shown) return;
    m_shown = shown;
    update();
}

void VideoSurface::releaseRenderContext() {
    freeRenderContext();
    m_mpv = nullptr;
}

void VideoSurface::freeRenderContext() {
    if (!m_render) return;
    // The render context owns GL objects of this window's context: free it there. After the
    // call returns the engine calls back no more.
    makeCurrent();
    mpv_render_context_free(m_render);
    m_render = nullptr;
    doneCurrent();
}

QImage VideoSurface::grabFrame() {
    if (!isValid()) return {};
    // What was last shown has been swapped away; the back buffer is drawn again and read.
    makeCurrent();
    paintGL();
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
    return grabFramebuffer();
}

void* VideoSurface::procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

void VideoSurface::onEngineUpdate(void* context) {
    auto* self = static_cast<VideoSurface*>(context);
    QMetaObject::invokeMethod(
        self, [self] { self->update(); }, Qt::QueuedConnection);
}

void VideoSurface::initializeGL() {
    // The window keeps its context for its whole life, wherever the widget around it moves.
    if (!m_mpv || m_render) return;
    mpv_opengl_init_params glInit{&VideoSurface::procAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &VideoSurface::onEngineUpdate, this);
}

void VideoSurface::paintGL() {
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (!m_render) return;
    // The framebuffer is in device pixels.
    const qreal ratio = devicePixelRatio();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(std::lround(width() * ratio)),
                       static_cast<int>(std::lround(height() * ratio)), 0};
    // The framebuffer is addressed the OpenGL way, bottom row first; the engine draws top row
    // first unless told to flip.
    int flipY = 1;
    int block = 0;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(m_render, params);
    if (!m_shown) {
        // The engine drew what it holds, which may be an earlier medium's last frame. It may
        // have left its own framebuffer, scissor or colour mask behind: clear the whole
        // window regardless.
        gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
        gl->glDisable(GL_SCISSOR_TEST);
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    }
}

bool VideoSurface::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        if (!m_inputTarget) break;
        // The window fills the widget, so the positions are the same in both.
        const auto* m = static_cast<QMouseEvent*>(e);
        QMouseEvent copy(m->type(), m->position(), m->scenePosition(), m->globalPosition(), m->button(), m->buttons(),
                         m->modifiers(), m->pointingDevice());
        QCoreApplication::sendEvent(m_inputTarget, &copy);
        e->setAccepted(copy.isAccepted());
        return true;
    }
    case QEvent::Wheel: {
        if (!m_inputTarget) break;
        const auto* w = static_cast<QWheelEvent*>(e);
        QWheelEvent copy(w->position(), w->globalPosition(), w->pixelDelta(), w->angleDelta(), w->buttons(),
                         w->modifiers(), w->phase(), w->inverted(), w->source(), w->pointingDevice());
        QCoreApplication::sendEvent(m_inputTarget, &copy);
        e->setAccepted(copy.isAccepted());
        return true;
    }
    default: break;
    }
    return QOpenGLWindow::event(e);
}

} // namespace platform
