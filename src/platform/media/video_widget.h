#pragma once
// VideoWidget: the surface the media player draws its video on, through the engine's
// OpenGL render API into the widget's framebuffer. The engine asks for a repaint from its own
// threads; the request is queued to the widget's thread, and painting never waits for the
// next frame's display time, so the user-interface thread is not held up by the video.

#include <QOpenGLWidget>

struct mpv_handle;
struct mpv_render_context;

namespace platform {

class VideoWidget : public QOpenGLWidget {
    Q_OBJECT

public:
    VideoWidget(mpv_handle* mpv, QWidget* parent = nullptr);
    ~VideoWidget() override;

    // Whether the engine's picture is shown; hidden, the widget is black. The engine still
    // renders each frame it offers (it waits for that), the picture is only painted over.
    bool videoShown() const { return m_shown; }
    void setVideoShown(bool shown);

    // Detaches the widget from the engine for good (the engine is going away); the widget
    // stays black from then on.
    void releaseRenderContext();

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    void freeRenderContext();
    static void onEngineUpdate(void* context);
    static void* procAddress(void* context, const char* name);

    mpv_handle* m_mpv;
    mpv_render_context* m_render = nullptr;
    bool m_shown = false;
};

} // namespace platform
