// Libraries that only some runs need are loaded by those runs alone: the
// GTK+ 2 stack (GTK+, GDK, Pango, ATK, X11 and some fifty libraries below
// them) by a run that may open a window, json-glib (and GIO below it) by a
// run that writes the --json report, GLib and GObject with either of them,
// libedit by a run that asks at a terminal. A headless installation, a
// verification or a dry run starts without any of them, in a fraction of the
// time, and works on a machine that has no toolkit installed.
#pragma once

#include <string>

// Each loads its library once for the process; later calls give the first
// call's result. True when every function of the library the installer
// calls is there; false with the dynamic loader's reason in *why otherwise.
bool LoadToolkit(std::string* why);
bool LoadJsonLibrary(std::string* why);
// False where line editing is not to be had: the questions then read plain lines.
bool LoadLineEditing();

// Whether the toolkit could open a display at all: DISPLAY is set, or the
// command line names one (--display, which the toolkit reads itself).
bool MayOpenDisplay(int argc, char** argv);
