#pragma once
// Process settings the browser engine needs before the application object exists. The
// program's main() calls prepareWebEngineStartup() first thing.

namespace platform {

// Chromium refuses to run as root with its sandbox on, so for root (only) the sandbox is
// turned off. Web views and the OpenGL video widget live in one program, which needs
// OpenGL contexts shared between top-level windows.
void prepareWebEngineStartup();

} // namespace platform
