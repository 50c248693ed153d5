// Tianbo: until the main window exists, one plain window.
#include <QApplication>
#include <QWidget>

#include "app/config.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QString::fromUtf8(app::config::kTitle));
    w.resize(650, 429);
    w.show();
    return app.exec();
}
