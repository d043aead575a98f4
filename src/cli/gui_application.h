// The application object of the commands that paint: off-screen when there is no display, and
// quiet about Qt's own notes (a missing runtime folder, font fallbacks), which are not the
// command's output.
#pragma once

#include <QGuiApplication>
#include <memory>

namespace tarnwell::cli {

std::unique_ptr<QGuiApplication> start_gui_application();

}  // namespace tarnwell::cli
