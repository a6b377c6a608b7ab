#include <sys/stat.h>

#include <iostream>

#include "Commands.h"
#include "SourceTree.h"
#include "ToolText.h"
#include "kit/KitEntryName.h"
#include "kit/KitWriter.h"
#include "text/VisibleText.h"

namespace {

struct PackOptions {
    bool single = false;
    std::vector<KitDescription> descriptions;
    std::string directory;
    std::string kit;
};

// Options naming a text of the current description: the last --lang, or an
// "en" description started implicitly.
WString* DescriptionField(PackOptions& options, const std::string& option) {
    if (options.descriptions.empty()) options.descriptions.push_back({u"en", {}, {}, {}});
    KitDescription& current = options.descriptions.back();
    if (option == "--product") return &current.productName;
    if (option == "--provider") return &current.providerName;
    if (option == "--description") return &current.descriptionFile;
    return nullptr;
}

// Description documents are named like entries: relative, "\"-separated.
WString KitPath(const std::string& path) {
    std::string kitPath = path;
    for (char& c : kitPath) {
        if (c == '/') c = '\\';
    }
    return ToKitText(kitPath);
}

bool Refuse(std::string* problem, const std::string& text) {
    *problem = text;
    return false;
}

// Kept out of line: inlined into RunPack it trips a false free-nonheap-object
// warning of g++ 12 on the strings it assigns.
[[gnu::noinline]] bool ParsePackOptions(const Arguments& arguments, PackOptions* options, std::string* problem) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--single") {
            options->single = true;
            continue;
        }
        if (argument.rfind("--", 0) != 0 || argument == "--") {
            positional.push_back(argument);
            continue;
        }
        if (i + 1 >= arguments.size()) return Refuse(problem, argument + " needs a value");
        const std::string& value = arguments[++i];
        if (!IsConvertible(value)) return Refuse(problem, "the value of " + argument + " is not valid text");
        // Shown by the installer on a terminal: an escape sequence there would act on it.
        if ((argument == "--product" || argument == "--provider") && HasControlCharacter(ToKitText(value))) {
            return Refuse(problem, "the value of " + argument + " holds a control character");
        }
        if (argument == "--lang") {
            options->descriptions.push_back({ToKitText(value), {}, {}, {}});
        } else if (WString* field = DescriptionField(*options, argument)) {
            *field = argument == "--description" ? KitPath(value) : ToKitText(value);
        } else {
            return Refuse(problem, "unknown option " + argument);
        }
    }
    if (positional.size() != 2) return Refuse(problem, "pack needs a directory and a kit path");
    if (options->single && options->descriptions.size() > 1) {
        return Refuse(problem, "--single takes at most one description");
    }
    options->directory = positional[0];
    options->kit = positional[1];
    return true;
}

// Entry names use "\" between components, so a "\" inside a file name
// would change the tree; such names, undecodable ones and those the
// installer would refuse (a control character) are refused here already.
bool AddEntries(const SourceTree& tree, KitSource* source) {
    for (const SourceFile& file : tree.files) {
        if (file.relativePath.find('\\') != std::string::npos || !IsConvertible(file.relativePath) ||
            !IsSafeEntryName(KitPath(file.relativePath))) {
            Fail("cannot pack " + file.relativePath +
                 ": the name holds a backslash or a control character, or is not valid UTF-8");
            return false;
        }
        KitFileSource entry;
        entry.name = KitPath(file.relativePath);
        entry.lastWriteTime =
            FileTime::fromValue(FileTimeFromUnixSeconds(file.modificationTime).value() + file.modificationUnits);
        entry.sourcePath = ToKitText(file.fullPath);
        source->files.push_back(entry);
    }
    return true;
}

// Builds the kit from the collected tree and the options' descriptions.
int WritePackedKit(const PackOptions& options, const SourceTree& tree) {
    KitSource source;
    source.format = options.single ? 0 : 1;
    source.descriptions = options.descriptions;
    if (!AddEntries(tree, &source)) return kExitFailure;
    const ErrorCode code = WriteKit(source, ToKitText(options.kit));
    if (code != ERR_NONE) return Fail("cannot write " + options.kit + ": " + DescribeError(code));
    std::cout << "packed " << source.files.size() << " entries into " << options.kit << "\n";
    return kExitSuccess;
}

}  // namespace

int RunPack(const Arguments& arguments) {
    PackOptions options;
    std::string problem;
    if (!ParsePackOptions(arguments, &options, &problem)) return Usage(problem);

    // A kit written inside the packed directory must not pack its own older self.
    struct stat kitStatus {};
    const bool kitExists = ::stat(options.kit.c_str(), &kitStatus) == 0;
    SourceTree tree;
    if (!CollectSourceTree(options.directory, kitExists ? kitStatus.st_dev : 0, kitExists ? kitStatus.st_ino : 0,
                           &tree, &problem)) {
        return Fail(problem);
    }
    for (const std::string& warning : tree.warnings) std::cerr << "efdkit: warning: " << ShownText(warning) << "\n";
    return WritePackedKit(options, tree);
}
