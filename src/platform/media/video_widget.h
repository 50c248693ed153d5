#pragma once
// VideoWidget: the area the media player shows its video in. The engine draws through its
// OpenGL render API straight into a native window of the area's own (a VideoSurface), which
// the window system shows as it is: no copy of each frame into the top-level window's
// composition, and the controls around the video are not composed again at every frame.
// Pointer and wheel input over the picture reaches this widget as it would any other.

#include <QImage>
#include <QPointer>
#include <QWidget>

struct mpv_handle;

namespace platform {

class VideoSurface;

class VideoWidget : public QWidget {
    Q_OBJECT

public:
    VideoWidget(mpv_handle* mpv, QWidget* parent = nullptr);
    ~VideoWidget() override;

    // Whether the engine's picture is shown; hidden, the area is black. The engine still
    // renders each frame it offers (it waits for that), the picture is only painted over.
    bool videoShown() const;
    void setVideoShown(bool shown);

    // Detaches the area from the engine for good (the engine is going away); it stays black
    // from then on.
    void releaseRenderContext();

    // What the area shows, drawn afresh and read back from its framebuffer (device pixels).
    QImage grabFramebuffer();

    // The picture is a native window, which the X server stacks above every widget drawn
    // into the main window: a widget that lies over the area (the fullscreen control bar)
    // shows only where the picture leaves a hole. `covered` is that part of the area, in its
    // own coordinates; an empty rectangle closes the hole.
    void setCovered(const QRect& covered);

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    QPointer<VideoSurface> m_surface;
    QWidget* m_container = nullptr;
    QRect m_covered;
    void applyCovered();
};

} // namespace platform
