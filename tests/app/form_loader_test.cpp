// The form loader: controls made by type from a form file, children inside their
// containers, and typed handles that refuse a wrong type.
#include "app/form_loader.h"
#include "app/picture_box.h"
#include "controls/chrome/uc_button.h"
#include "platform/forms/runtime_error.h"
#include "platform/window/timer.h"

#include <gtest/gtest.h>

namespace {

const char* kForm = R"({
 "type": "Form", "name": "F", "width": 300, "height": 200,
 "controls": [
  {"type": "PictureBox", "name": "Box", "left": 10, "top": 20, "width": 100, "height": 50,
   "properties": {"BackColor": {"color": "0x00030201"}},
   "controls": [
    {"type": "ucButton", "name": "Inner", "left": 3, "top": 4, "width": 24, "height": 18,
     "properties": {"ToolTipText": "提示"}},
    {"type": "Timer", "name": "Tick", "properties": {"Interval": 250, "Enabled": false}}
   ]},
  {"type": "Gadget", "name": "Unknown", "controls": [{"type": "Label", "name": "Lost"}]},
  {"type": "Label", "name": "Hidden", "visible": false, "properties": {"Caption": "x"}}
 ]})";

} // namespace

TEST(FormLoader, MakesControlsByTypeInsideTheirContainers) {
    const auto form = platform::ReadFormFile(kForm, [](const QString&) { return platform::Picture(); });
    ASSERT_TRUE(form);
    platform::Window window(nullptr, QStringLiteral("Test"));
    const app::LoadedForm loaded = app::FormLoader::standard().load(*form, &window);

    auto* box = loaded.get<app::PictureBox>(QStringLiteral("Box"));
    EXPECT_EQ(box->parentWidget(), &window);
    EXPECT_EQ(box->geometry(), QRect(10, 20, 100, 50));
    EXPECT_EQ(box->BackColor(), 0x00030201u) << "it read its own property bag";
    auto* inner = loaded.get<controls::ucButton>(QStringLiteral("Inner"));
    EXPECT_EQ(inner->parentWidget(), box);
    EXPECT_EQ(inner->toolTip(), QStringLiteral("提示"));
    auto* timer = loaded.get<platform::Timer>(QStringLiteral("Tick"));
    EXPECT_EQ(timer->parent(), &window) << "a timer belongs to the form, not to its container";
    EXPECT_EQ(timer->Interval(), 250);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_TRUE(loaded.get<QWidget>(QStringLiteral("Hidden"))->isHidden());

    // An unknown type is skipped with its children; a handle of the wrong type is refused.
    EXPECT_EQ(loaded.find(QStringLiteral("Unknown")), nullptr);
    EXPECT_EQ(loaded.find(QStringLiteral("Lost")), nullptr);
    EXPECT_EQ(loaded.size(), 4);
    EXPECT_THROW(loaded.get<app::PictureBox>(QStringLiteral("Inner")), platform::RuntimeError);
    EXPECT_THROW(loaded.get<app::PictureBox>(QStringLiteral("Nothing")), platform::RuntimeError);
}
