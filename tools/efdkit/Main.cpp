// efdkit: packs a directory into a distribution kit, lists, verifies and
// unpacks kits with the installer's own reader, and bundles a kit with the
// installer into one file.
#include <csignal>
#include <iostream>
#include <string>

#include "Commands.h"
#include "ToolText.h"

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "efdkit: " << problem << "\n";
    std::cerr << "usage: efdkit pack [--single] [--lang CODE [--product TEXT] [--provider TEXT]\n"
                 "                   [--description FILE]]... DIR KIT\n"
                 "       efdkit list KIT\n"
                 "       efdkit verify KIT\n"
                 "       efdkit unpack KIT DIR\n"
                 "       efdkit bundle SETUP KIT -o FILE\n"
                 "KIT may also be a one-file installer written by bundle.\n";
    return kExitUsage;
}

int main(int argc, char** argv) {
    UseUtf8Conversions();
    // A file size limit then fails the write, which is reported, instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) return Usage("no command given");
    const std::string command = argv[1];
    const Arguments arguments(argv + 2, argv + argc);
    if (command == "pack") return RunPack(arguments);
    if (command == "list") return RunList(arguments);
    if (command == "verify") return RunVerify(arguments);
    if (command == "unpack") return RunUnpack(arguments);
    if (command == "bundle") return RunBundle(arguments);
    if (command == "--help" || command == "-h" || command == "help") {
        (void)Usage("");  // asked for: not an error
        return kExitSuccess;
    }
    return Usage("unknown command \"" + command + "\"");
}
