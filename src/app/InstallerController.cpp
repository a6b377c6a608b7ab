// The controller's dialogue: preparation before anything is shown, the
// welcome text, Back and Next, and the end of the wizard.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/InstallerController.h"
#include "app/KitOpenFailure.h"
#include "app/MessageFlags.h"
#include "kit/KitBundle.h"
#include "kit/KitDirectoryOpen.h"
#include "kit/KitEntryName.h"
#include "l10n/Messages.h"
#include "launcher/LauncherPaths.h"
#include "launcher/TemplateDirectory.h"
#include "platform/FindData.h"
#include "platform/SystemPath.h"
#include "text/Convert.h"
#include "text/VisibleText.h"

namespace {

// The running executable itself, whichever name it was started by; a kit it
// carries is read from here.
constexpr char16_t kOwnExecutable[] = u"/proc/self/exe";

// The whole target of a symbolic link, however long; empty when unreadable.
std::string ReadWholeLink(const char* link) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t n = readlink(link, buffer.data(), buffer.size());
        if (n < 1) return std::string();
        if (static_cast<std::size_t>(n) < buffer.size()) return buffer.substr(0, static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string CurrentDirectory() {
    char* cwd = getcwd(nullptr, 0);
    if (cwd == nullptr) return std::string();
    std::string result(cwd);
    free(cwd);
    return result;
}

std::string DirectoryPart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

bool EndsWithSeparator(const WString& text) {
    return !text.empty() && (text.back() == u'/' || text.back() == u'\\');
}

bool StartsWithSeparator(const WString& text) {
    return !text.empty() && (text[0] == u'/' || text[0] == u'\\');
}

// "/a/b" from the first `count` of {"a", "b", ...}.
std::string JoinedPath(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) path += "/" + parts[i];
    return path;
}

}  // namespace

WString ExpandHomePrefix(const WString& path) {
    if (path == WString(u"~") || path.startsWith(u"~/")) return HomeDirectory() + path.substr(1);
    return path;
}

// The launcher reads a recorded directory from its own working directory, so
// a relative one is made absolute here, where it still means what was typed.
WString FromWorkingDirectory(const WString& path) {
    if (path.empty() || StartsWithSeparator(path)) return path;
    const std::string cwd = CurrentDirectory();
    if (cwd.empty()) return path;
    WString relative = path;
    while (relative.startsWith(u"./")) relative.erase(0, 2);
    WString absolute = ToWString(AString(cwd.c_str(), cwd.size()));
    if (relative == WString(u".") || relative.empty()) return absolute;
    if (!EndsWithSeparator(absolute)) absolute += u"/";
    return absolute + relative;
}

WString CleanTypedDirectory(const WString& typed) {
    WString path = typed;
    ReplaceAll(path, u"\\", u"/");
    return FromWorkingDirectory(ExpandHomePrefix(path));
}

WString WithoutDotsInMissingPart(const WString& path) {
    AString system;
    if (!StartsWithSeparator(path) || !ToSystemPath(path, &system)) return path;
    const std::string text(system.c_str());
    std::vector<std::string> parts;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('/', start), text.size());
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    std::size_t existing = parts.size();
    struct stat status {};
    while (existing > 0 && stat(JoinedPath(parts, existing).c_str(), &status) != 0 && errno == ENOENT) --existing;
    std::vector<std::string> missing;
    bool changed = false;
    for (std::size_t i = existing; i < parts.size(); ++i) {
        if (parts[i] == "." || parts[i] == "..") changed = true;
        if (parts[i] == ".") continue;
        if (parts[i] == ".." && !missing.empty() && missing.back() != "..") {
            missing.pop_back();
        } else {
            missing.push_back(parts[i]);
        }
    }
    if (!changed) return path;
    parts.resize(existing);
    parts.insert(parts.end(), missing.begin(), missing.end());
    std::string result = JoinedPath(parts, parts.size());
    if (result.empty() || text.back() == '/') result += "/";
    return ToWString(AString(result.c_str(), result.size()));
}

WString DescriptionDocumentPath(const WString& directory, const WString& name) {
    // Only a document inside the template directory is opened: a kit that
    // names "../../somewhere" does not get to open a file of its choice.
    WString relative = name;
    while (StartsWithSeparator(relative)) relative.erase(0, 1);
    if (!IsSafeEntryName(relative)) return WString();
    WString path = directory;
    if (!directory.empty() && !EndsWithSeparator(directory) && !StartsWithSeparator(name)) path += u"/";
    path += name;
    ReplaceAll(path, u"\\", u"/");
    return path;
}

WString InstallerController::GetKitPath() const {
    const std::string directory =
        useCurrentDirectory_ ? CurrentDirectory() : DirectoryPart(ReadWholeLink("/proc/self/exe"));
    if (directory.empty()) return WString();
    return ToWString(AString(directory.c_str(), directory.size()) + "/qorn.efd");
}

bool InstallerController::PrepareInstallation() {
    const WString candidate = GetKitPath();
    KitSlice kitSlice;
    if (candidate.empty() || !PathExists(candidate) || IsDirectory(candidate)) {
        // No kit where it is looked for: the installer may carry its own. A
        // damaged one is told before anything is unpacked.
        const BundledKit carried = FindBundledKit(kOwnExecutable, &kitSlice);
        if (carried != BundledKit::kFound) {
            const bool damaged = carried == BundledKit::kDamaged;
            frontEnd_.ShowMessage(LoadResString(damaged ? "IDS_ERROR_DAMAGEDSOURCE" : "IDS_ERROR_NOSOURCE"),
                                  MB_ERROR_OK);
            return false;
        }
        kitPath_ = kOwnExecutable;
    } else {
        kitPath_ = candidate;
    }

    // A file is created in a recorded location only to find out whether the
    // run could write there: a run that only reads, or one told its
    // directory, leaves every location as it is.
    const bool writes = runKind_ == RunSummary::Kind::Install || runKind_ == RunSummary::Kind::Uninstall;
    TemplateDirectoryChoice choice = ChooseTemplateDirectory(writes && targetOption_.empty());
    targetDirectory_ = choice.directory;
    templateLocations_ = std::move(choice.locations);
    alternativeFilePresent_ = choice.alternativeFilePresent;
    locationsFromAlternative_ = choice.locationsFromAlternative;
    // A directory named on the command line replaces the proposal, as if typed.
    if (!targetOption_.empty()) targetDirectory_ = WithoutDotsInMissingPart(CleanTypedDirectory(targetOption_));

    // Every run reads the kit's directory first; an installation inflates the
    // rest while it writes the files. A small kit is checked to its end at
    // once when somebody is asked questions, so that its damage is told
    // before the first page; a large one would keep the window waiting, and
    // is checked as it is installed (damage there undoes the run). A silent
    // run and one that writes no file read the rest only when they need it.
    const bool onlyReads = runKind_ == RunSummary::Kind::DryRun || runKind_ == RunSummary::Kind::Verify;
    ErrorCode opened = KitOpenDirectoryFirst(kit_, kitPath_, kitSlice, onlyReads ? RecordReaderAhead() : KitDescriptionsRead());
    const bool asks = !silent_ && runKind_ == RunSummary::Kind::Install;
    if (opened == ERR_NONE && asks && KitStreamBytes(kit_) <= kKitCheckedAtStart) opened = KitCheckWholeStream(kit_);
    if (opened != ERR_NONE) {
        frontEnd_.ShowMessage(LoadResString(KitOpenFailureMessage(opened, kitPath_)), MB_ERROR_OK);
        return false;
    }
    return true;
}

void InstallerController::ShowWelcomePage() {
    WString product;
    WString provider;
    KitFindDescription(kit_.descriptions, languageCode_, &product, &provider);
    if (product.empty()) product = LoadResString("IDS_DEFPRODUCT");
    if (provider.empty()) provider = LoadResString("IDS_DEFPROVIDER");
    state_ = STATE_WELCOME;
    // One line each, whatever the kit holds: a line break or an escape sequence is shown, not obeyed.
    const WString names = Visible(product) + u" (" + Visible(provider) + u").";
    const char* welcome = runKind_ == RunSummary::Kind::Uninstall ? "IDS_UNINSTALL_WELCOME" : "IDS_WELCOME_TITLE";
    frontEnd_.ShowWelcome(LoadResString(welcome) + u" " + names, silent_);
}

void InstallerController::ShowDirectoryPage() {
    state_ = STATE_DIRECTORY;
    frontEnd_.AskDirectory(targetDirectory_);
}

void InstallerController::Back() {
    if (state_ == STATE_DIRECTORY) ShowWelcomePage();
}

void InstallerController::Next() {
    switch (state_) {
        case STATE_WELCOME: ShowDirectoryPage(); break;
        case STATE_SUCCESS:
        case STATE_ERROR: FinishWizard(); break;
        default: break;
    }
}

void InstallerController::AcceptDirectory(const WString& typed) {
    if (state_ != STATE_DIRECTORY) return;
    const WString path = WithoutDotsInMissingPart(CleanTypedDirectory(typed));
    if (path.empty()) {
        frontEnd_.ShowMessage(LoadResString("IDS_SETUP_EMPTYTARGET"), MB_PLAIN_OK);
        return;
    }
    targetDirectory_ = path;
    // Removing files is never started by one key press too many.
    if (runKind_ == RunSummary::Kind::Uninstall && !silent_ &&
        frontEnd_.ShowMessage(LoadResString("IDS_UNINSTALL_CONFIRM") + u" " + path, MB_QUESTION_YESNO) != IDYES) {
        return;
    }
    RunInstallation();
}

void InstallerController::FinishWizard() {
    // A rollback or commit still running finishes before anything else.
    worker_.Join();
    // An uninstallation took the document away, or kept it as the user's own.
    if (state_ == STATE_SUCCESS && runKind_ != RunSummary::Kind::Uninstall) OpenDescriptionDocument();
    frontEnd_.Close();
}

void InstallerController::OpenDescriptionDocument() {
    const WString path = DescriptionDocumentPath(targetDirectory_, KitDescriptionFile(kit_.descriptions, languageCode_));
    if (path.empty() || !PathExists(path) || IsDirectory(path)) return;
    frontEnd_.OfferDescriptionDocument(path);
}
