// libvelmora-qt.so.1 as the window-system plugin of a Linux process (velmora/gui_plugin.h).
#pragma once

#include "velmora/gui_plugin.h"

#define VELMORA_QT_EXPORT __attribute__((visibility("default")))

// Fills in what Qt provides on top of the services a host assembled: message boxes as windows
// where a person can answer them (the box already there answers the others), the pending
// window events, pictures and bitmap files, the first camera, the open-file dialog, the capture
// window and the two system-information windows, built on the bundle's system queries and
// locale. Starts nothing: the QApplication is made when a window is first shown. Fills nothing
// when handed a context of another ABI.
extern "C" VELMORA_QT_EXPORT void velmora_qt_add_services(velmora::Services* services,
                                                          const velmora::GuiPluginContext* context);
