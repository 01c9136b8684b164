// Internals of the Linux layer for windows other X clients own (x11_host.cpp):
// IsWindow and GetDesktopWindow ask here about handles that are not our windows.
// Only win32/*.cpp include this.
#pragma once

#include <cstdint>

namespace win32::detail {

// True when window is the number of an existing X window. Asks the server.
bool ForeignWindowExists(uintptr_t window);
// The X root window's number; 0 when there is no X display.
uintptr_t ForeignRootWindow();

} // namespace win32::detail
