// Entry point of every test program: GoogleTest inside a QApplication, so widget tests run
// on a real display (Xvfb under ./x test). Listing tests needs no display.
//
// The pointer is one per X server, and many tests move it for real; tests that run at the
// same time therefore each get an X server of their own. ./x test starts one per job and
// hands CTest their numbers as "display" resources; CTest tells each test which one it holds
// in CTEST_RESOURCE_GROUP_0_DISPLAY ("id:d<number>,slots:1").
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

void useTheDisplayCTestAssigned() {
    const char* held = std::getenv("CTEST_RESOURCE_GROUP_0_DISPLAY");
    if (!held) return;
    const char* id = std::strstr(held, "id:d");
    if (!id) return;
    std::string display = ":";
    for (const char* c = id + 4; *c >= '0' && *c <= '9'; ++c) display += *c;
    if (display.size() > 1) setenv("DISPLAY", display.c_str(), 1);
    // A program a test starts (this one again on an X server of its own, say) keeps the
    // display it is given.
    unsetenv("CTEST_RESOURCE_GROUP_0_DISPLAY");
}

} // namespace

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) listing = true;
    }
    ::testing::InitGoogleTest(&argc, argv);
    if (listing) return RUN_ALL_TESTS();
    useTheDisplayCTestAssigned();
    // Chromium refuses to run as root with its sandbox on.
    if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Every test starts with the real pointer in the screen's far corner, away from the windows
    // it makes, wherever the test before it on this X server left the pointer.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) QCursor::setPos(screen->geometry().bottomRight());
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
