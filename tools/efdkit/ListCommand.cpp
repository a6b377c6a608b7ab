#include <iostream>

#include "Commands.h"
#include "OpenedKit.h"
#include "ToolText.h"
#include "text/VisibleText.h"

namespace {

// A kit's texts are anybody's: their control characters are shown, never sent to the terminal.
std::string Shown(const WString& text) { return FromKitText(Visible(text)); }

void PrintDescription(const KitDescription& description) {
    std::cout << "description " << Shown(description.language) << ": product \"" << Shown(description.productName)
              << "\", provider \"" << Shown(description.providerName) << "\", document \""
              << Shown(description.descriptionFile) << "\"\n";
}

// One line per entry: name, time and size separated by tabs.
void PrintEntry(const KitEntry& entry) {
    std::cout << Shown(entry.name) << "\t" << FormatIsoTime(entry.lastWriteTime) << "\t" << entry.size
              << "\n";
}

}  // namespace

int RunList(const Arguments& arguments) {
    if (arguments.size() != 1) return Usage("list needs exactly one kit path");
    KitReader reader;
    std::string reason;
    if (!OpenKitForTool(reader, arguments[0], &reason)) return Fail(reason);
    for (const KitDescription& description : reader.descriptions) PrintDescription(description);
    for (const KitEntry& entry : reader.entries) PrintEntry(entry);
    return kExitSuccess;
}
