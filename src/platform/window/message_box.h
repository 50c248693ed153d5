#pragma once
// The program's message box, through one function that tests can intercept.

#include <QString>
#include <cstdint>
#include <functional>

namespace platform {

inline constexpr int32_t vbOKOnly = 0;
inline constexpr int32_t vbOKCancel = 1;
inline constexpr int32_t vbYesNo = 4;
inline constexpr int32_t vbCritical = 16;
inline constexpr int32_t vbExclamation = 48;
inline constexpr int32_t vbInformation = 64;
inline constexpr int32_t vbOK = 1;
inline constexpr int32_t vbCancel = 2;
inline constexpr int32_t vbYes = 6;
inline constexpr int32_t vbNo = 7;

using MessageBoxHandler = std::function<int32_t(const QString& prompt, int32_t buttons, const QString& title)>;

// Shows a modal message box and returns the button pressed (vbOK ...).
int32_t MsgBox(const QString& prompt, int32_t buttons = vbOKOnly, const QString& title = {});
// Replaces the function MsgBox calls; returns the previous one. An empty handler restores
// the real dialog.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

} // namespace platform
