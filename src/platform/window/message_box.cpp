#include "message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {
MessageBoxHandler& handler() {
    static MessageBoxHandler h;
    return h;
}
} // namespace

int32_t MsgBox(const QString& prompt, int32_t buttons, const QString& title) {
    if (handler()) return handler()(prompt, buttons, title);
    QMessageBox box;
    box.setText(prompt);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    switch (buttons & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (buttons & 0x0F) {
    case vbOKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok ? vbOK : vbCancel;
    case vbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? vbYes : vbNo;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return vbOK;
    }
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler h) {
    MessageBoxHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

} // namespace platform
