#pragma once
// VideoSurface: the native OpenGL window the engine draws the video into, through its render
// API. The engine asks for a repaint from its own threads; the request is queued to the
// window's thread, and painting never waits for the next frame's display time, so the
// user-interface thread is not held up by the video. Pointer and wheel events are handed to
// the widget the window is embedded in.

#include <QOpenGLWindow>
#include <QPointer>

struct mpv_handle;
struct mpv_render_context;

namespace platform {

class VideoSurface : public QOpenGLWindow {
    Q_OBJECT

public:
    explicit VideoSurface(mpv_handle* mpv);
    ~VideoSurface() override;

    bool videoShown() const { return m_shown; }
    void setVideoShown(bool shown);
    void releaseRenderContext();
    // Draws the window's content afresh and reads it back (device pixels); null before the
    // window has its context.
    QImage grabFrame();
    // The widget that receives this window's pointer and wheel events.
    void setInputTarget(QObject* target) { m_inputTarget = target; }

protected:
    void initializeGL() override;
    void paintGL() override;
    bool event(QEvent* e) override;

private:
    void freeRenderContext();
    static void onEngineUpdate(void* context);
    static void* procAddress(void* context, const char* name);

    mpv_handle* m_mpv;
    mpv_render_context* m_render = nullptr;
    bool m_shown = false;
    QPointer<QObject> m_inputTarget;
};

} // namespace platform
