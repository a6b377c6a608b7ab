// What one run did, or for a dry run would do, with the template directory:
// the kit it was about, counts, bytes and the files by what happened to them.
// The console, the terminal, the wizard and the machine-readable report all
// show it; the run that produced it owns it and hands out shared copies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/PathList.h"

struct RunSummary {
    enum class Kind : std::uint8_t { Install, DryRun, Verify, Uninstall };

    // A user's edited version kept beside the file the kit replaced or no
    // longer ships.
    struct KeptEdit {
        std::string path;    // relative to the template directory, system bytes
        std::string keptAs;  // the kept copy's name, relative likewise
    };
    // One difference that a verification found.
    struct Difference {
        enum class What : std::uint8_t { Missing, ContentChanged, TimeChanged, NewInKit };
        std::string path;  // relative, system bytes
        What what = What::Missing;
    };

    Kind kind = Kind::Install;
    std::string templateDirectory;  // absolute, system bytes, ends in "/"
    std::string product;            // the kit's identity (UTF-8); empty before the kit is read
    std::string provider;

    // Relative paths, system bytes, in the kit's order.
    PathList created;
    PathList replaced;
    PathList upToDate;
    std::vector<KeptEdit> keptEdits;
    PathList removed;  // no longer shipped, or uninstalled
    std::vector<Difference> differences;

    std::uint64_t bytesWritten = 0;  // or, for a dry run, to be written
    std::uint64_t bytesRemoved = 0;

    std::string keptBackupFolder;      // absolute; empty unless an undo kept originals there
    std::string launcherFileNotWritten;  // absolute; empty unless the directory could not be recorded in it
    std::string recordSetAside;          // absolute; empty unless the kit's record failed its checks and was set aside
};
