#include "platform/media/video_widget.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <cmath>
#include <mpv/render_gl.h>

namespace platform {

VideoWidget::VideoWidget(mpv_handle* mpv, QWidget* parent) : QOpenGLWidget(parent), m_mpv(mpv) {}

VideoWidget::~VideoWidget() { freeRenderContext(); }

void VideoWidget::setVideoShown(bool shown) {
    if (shown == m_shown) return;
    m_shown = shown;
    update();
}

void VideoWidget::releaseRenderContext() {
    freeRenderContext();
    m_mpv = nullptr;
}

void VideoWidget::freeRenderContext() {
    if (!m_render) return;
    // The render context owns GL objects of this widget's context: free it there. After the
    // call returns the engine calls back no more.
    makeCurrent();
    mpv_render_context_free(m_render);
    m_render = nullptr;
    doneCurrent();
}

void* VideoWidget::procAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}

void VideoWidget::onEngineUpdate(void* context) {
    auto* self = static_cast<VideoWidget*>(context);
    QMetaObject::invokeMethod(
        self, [self] { self->update(); }, Qt::QueuedConnection);
}

void VideoWidget::initializeGL() {
    // The widget's context is replaced when it moves to another top-level window; the engine's
    // GL state goes with the old one and is made anew here.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &VideoWidget::freeRenderContext,
            Qt::UniqueConnection);
    if (!m_mpv || m_render) return;
    mpv_opengl_init_params glInit{&VideoWidget::procAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&m_render, m_mpv, params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &VideoWidget::onEngineUpdate, this);
}

void VideoWidget::paintGL() {
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (!m_render) return;
    // The framebuffer is in device pixels.
    const qreal ratio = devicePixelRatioF();
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
        // widget regardless.
        gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
        gl->glDisable(GL_SCISSOR_TEST);
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl->glClearColor(0, 0, 0, 1);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    }
}

} // namespace platform
