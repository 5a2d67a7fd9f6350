// Before Qt starts: is there a display to show the characters on? Qt itself aborts with a core
// dump when its X display cannot be opened; this says so in one line and lets main() end cleanly.
// One file per platform implements this header.
#pragma once

// Chooses the window-system platform where the desktop needs it (X11 through XWayland on a
// Wayland session) and checks that its display can be opened. When it cannot, prints one line
// on stderr saying why and returns false.
bool PrepareDisplay();
