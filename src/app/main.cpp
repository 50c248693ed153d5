// Tianbo: until the main window exists, one plain window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QWidget w;
    w.setWindowTitle(QStringLiteral("天播"));
    w.resize(650, 429);
    w.show();
    return app.exec();
}
