// Where the launcher keeps its files and where templates go by default, all
// below the user's home directory. Every builder forms its path anew.
#pragma once

#include "text/WString.h"

// The user's home directory without running any command: $HOME, else the
// password database entry of the user; empty when neither names one.
WString HomeDirectory();
// Home + "/.qorn/".
WString ProductUserDirectory();
// Home + "/.Vq/tavrilon", or "/.Vq/tavrilont" for the alternative launcher.
WString LauncherConfigDirectory(bool alternative);
// LauncherConfigDirectory(alternative) + "/tavrilon.cfg".
WString LauncherConfigPath(bool alternative);
// The file read beside the own one, never written: ProductUserDirectory() +
// "/.Vq/tavrilon/tavrilon.cfg", or the normal launcher file for the alternative.
WString SharedLauncherConfigPath(bool alternative);
// ProductUserDirectory() + "Vq/vq8/".
WString DefaultTemplateBase();
// DefaultTemplateBase() + "tmplts/".
WString DefaultTemplateDirectory();
