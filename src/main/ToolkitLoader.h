// The GTK+ 2 stack (GTK+, GDK, Pango, ATK, X11 and some fifty libraries below
// them) is loaded only by a run that may open a window. A headless
// installation, a verification or a dry run starts without it, in a fraction
// of the time, and works on a machine that has no toolkit installed.
#pragma once

#include <string>

// Loads the toolkit, once for the process; later calls give the first call's
// result. True when every toolkit function the installer calls is there;
// false with the dynamic loader's reason in *why otherwise.
bool LoadToolkit(std::string* why);

// Whether the toolkit could open a display at all: DISPLAY is set, or the
// command line names one (--display, which the toolkit reads itself).
bool MayOpenDisplay(int argc, char** argv);
