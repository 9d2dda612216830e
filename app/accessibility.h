// How the windows and the parameter sliders present themselves to assistive
// tools such as screen readers.
#pragma once

// Both windows become accessible windows named by their caption, and every
// slider reads and takes its value in the units its readout shows. Call it
// before a window is built; calling it again does nothing.
void installAccessibleInterfaces();
