// FrmMain: what the pointer does beyond the thumbs' drags — a click on the seek track seeks
// there, the seek bar tells the time under the pointer, the wheel sets the volume over the
// volume bar and the video, a row whose title is cut shows it whole, and the status line
// names the channel that plays.
//
// The seek bar maps a time to the knob's left edge at 5 + t / duration * (W - 99) (the
// painting rule of the bar), so the point under the pointer, the knob's centre, is 4 pixels
// further:   x = 9 + t / duration * (W - 99)   ⇔   t = (x - 9) / (W - 99) * duration.

#include "app/frm_main.h"
#include "platform/forms/number_rules.h"
#include "platform/gdi/dc.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace app {

using namespace platform;

namespace {

// Volume per notch of the wheel; one notch is 120 units of the wheel's angle.
constexpr int kWheelVolumeStep = 5;
constexpr int kWheelNotch = 120;

// "mm:ss", or "h:mm:ss" from an hour on.
QString clockText(double seconds) {
    const auto s = static_cast<int64_t>(std::max(0.0, std::floor(seconds)));
    const QString ms =
        QStringLiteral("%1:%2").arg(s / 60 % 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
    return s >= 3600 ? QStringLiteral("%1:").arg(s / 3600) + ms : ms;
}

// The time at x pixels of the control bar, within the media.
double timeAt(int32_t x, int32_t barWidth, double duration) {
    const int32_t span = barWidth - 99;
    if (span <= 0) return 0;
    return std::clamp((x - 9) / static_cast<double>(span), 0.0, 1.0) * duration;
}

} // namespace

void FrmMain::ImgPro_MouseDown(int16_t Button, int16_t, float X, float) {
    const double duration = mediaDuration();
    if (Button != 1 || !(duration > 0) || !std::isfinite(duration)) return;
    const int32_t x = m_ui.ImgPro->Left() + static_cast<int32_t>(std::floor(X / kTwipsPerPixel));
    m_player->controls().setCurrentPosition(timeAt(x, m_ui.PicCtr->ScaleWidth(), duration));
    DrawProgressBar();
    m_ui.PicCtr->Refresh();
}

void FrmMain::seekBarHover(QWidget* area, const QPoint& pos) {
    const double duration = mediaDuration();
    if (!(duration > 0) || !std::isfinite(duration)) {
        QToolTip::hideText();
        return;
    }
    const int32_t x = area->x() + pos.x();
    const QString text =
        clockText(timeAt(x, m_ui.PicCtr->ScaleWidth(), duration)) + QStringLiteral(" / ") + clockText(duration);
    QToolTip::showText(area->mapToGlobal(pos) + QPoint(0, -32), text, area);
}

bool FrmMain::wheelVolume(QWheelEvent* e) {
    const QPoint delta = e->angleDelta();
    m_wheelRest += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = m_wheelRest / kWheelNotch;
    m_wheelRest %= kWheelNotch;
    if (notches != 0) setVolume(volume() + notches * kWheelVolumeStep);
    e->accept();
    return true;
}

bool FrmMain::listToolTip(controls::ucListBox* list, QHelpEvent* e) {
    const int16_t row = list->IndexFromPoint(e->pos().x(), e->pos().y());
    if (row < 0) {
        QToolTip::hideText();
        return true;
    }
    // The title's cell as the list paints it (its Style 1 or Style 0 columns).
    const int32_t rowWidth = list->UserControlWidth();
    const int32_t cell =
        list->Style() == 0 ? rowWidth - list->NumberColumnWidth() - list->AuthorColumnWidth() - list->TimeColumnWidth()
                           : rowWidth - list->NumberColumnWidth() - 6;
    const QString title = list->Title(row);
    SIZE size{};
    GetTextExtentPoint32(list->dc(), title, &size);
    if (size.cx > cell) QToolTip::showText(e->globalPos(), title, list);
    else QToolTip::hideText();
    return true;
}

void FrmMain::updateStatusTip() {
    QString title, address;
    const int category = playingCategory();
    if (!m_looseAddress.isEmpty()) {
        address = m_looseAddress;
    } else if (category >= 0) {
        controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
        title = list->Title(list->PlayIndex());
        address = list->URL(list->PlayIndex());
    }
    m_ui.Label1->setToolTip(title.isEmpty() ? address : title + QLatin1Char('\n') + address);
}

} // namespace app
