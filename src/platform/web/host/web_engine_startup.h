#pragma once
// Process settings the browser engine needs before the application object exists; the web
// engine's process calls prepareWebEngineStartup() first thing.

namespace platform {

// Chromium refuses to run as root with its sandbox on, so for root (only) the sandbox is
// turned off. The process quits with the program that started it.
void prepareWebEngineStartup();

} // namespace platform
