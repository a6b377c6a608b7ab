// Opening a kit for list, verify and unpack through the installer's own
// reader, with a plain reason when it fails.
#pragma once

#include <string>

#include "kit/KitReader.h"

// KitOpen with a one-line reason: a kit that is no complete raw deflate
// stream is told apart from one whose header or directory is damaged. A
// one-file installer's kit is opened where it lies (checksum first); an
// executable that carries none is refused as such.
bool OpenKitForTool(KitReader& reader, const std::string& kitPath, std::string* reason);
