#pragma once
#include "platform/qt/qt_platform.h"
#include "platform/widgets/form_window.h"

#include <QApplication>
#include <QString>

namespace platform {

// A program's one window on the desktop: the Qt platform with the window as the parent of its
// boxes, the load handler, then the window shown (unless it unloaded itself) until the event
// loop ends. Returns the loop's exit status.
template <class Window>
int runFormWindow(const QString& programName) {
    QtPlatform platform(programName);
    Window window(platform.platform());
    platform.setParentWindow(&window);
    window.load();
    if (window.unloaded()) return 0;
    window.show();
    return QApplication::exec();
}

} // namespace platform
