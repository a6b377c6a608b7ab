// Prints the message table's text of one identifier in one language, so the
// GUI tests can compare what the window shows with what the table holds.
// Usage: print_message LANGUAGE-CODE IDENTIFIER (exit 1 when there is none).
#include <cstdio>

#include "l10n/Messages.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: print_message LANGUAGE-CODE IDENTIFIER\n");
        return 2;
    }
    const std::int32_t language = LanguageFromCode(AString(argv[1]));
    const AString text = RawMessageText(language, AString(argv[2]));
    if (language == 0 || text.empty()) {
        std::fprintf(stderr, "print_message: no text for %s in \"%s\"\n", argv[2], argv[1]);
        return 1;
    }
    std::printf("%s\n", text.c_str());
    return 0;
}
