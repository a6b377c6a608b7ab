#include <iostream>

#include "Commands.h"
#include "OpenedKit.h"
#include "ToolText.h"

namespace {

void PrintDescription(const KitDescription& description) {
    std::cout << "description " << FromKitText(description.language) << ": product \""
              << FromKitText(description.productName) << "\", provider \"" << FromKitText(description.providerName)
              << "\", document \"" << FromKitText(description.descriptionFile) << "\"\n";
}

// One line per entry: name, time and size separated by tabs.
void PrintEntry(const KitEntry& entry) {
    std::cout << FromKitText(entry.name) << "\t" << FormatIsoTime(entry.lastWriteTime) << "\t" << entry.size
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
