// The installer's speed and memory, each figure against a reference measured
// in the same run on the same file system: the installer (`setup usecwd -S`
// in a scratch home, headless unless the row says otherwise) against GNU tar
// on a gzip-compressed tar of the same files. Rounds are interleaved, the
// order inside a round alternates, and a row's figure is the median of its
// per-round ratios, so that a machine that slows down for a while slows both
// sides of a ratio alike.
//
//   speed_bench --bin DIR --root DIR [--disk DIR] [--full] [--display :N]
//
// --bin holds setup, efdkit and floor_bench; --root is the scratch directory
// (tmpfs, so that a disk's noise stays out); --disk, when given, a scratch
// directory on a disk file system (ext4) for the rows where syncs count: there
// tar's side is `tar` followed by `sync -f` of its output, timed as one, and
// the file system is synced before every timed run. --display names an X
// server for the row that runs the wizard. Prints the table and exits 1 when
// a goal is missed.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr long kMemoryGoalKiB = 32 * 1024;
constexpr const char* kTemplateDirectory = "/.qorn/Vq/vq8/tmplts";
constexpr std::time_t kOldTime = 978307200;  // 2001-01-01: older than any kit entry

struct Options {
    std::string bin;
    std::string root;
    std::string disk;
    std::string display;
    bool full = false;
};

// One finished child: wall-clock seconds, CPU seconds and peak memory.
struct Outcome {
    bool ok = false;
    double wall = 0;
    double cpu = 0;
    long peakKiB = 0;
};

double Seconds(const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; }

// Runs `argv` in `directory` with exactly `environment`, output to `log`.
Outcome Run(const std::vector<std::string>& argv, const std::string& directory,
            const std::vector<std::string>& environment, const std::string& log) {
    std::vector<char*> args;
    std::vector<std::string> copies(argv);
    for (std::string& arg : copies) args.push_back(arg.data());
    args.push_back(nullptr);
    std::vector<std::string> envCopies(environment);
    std::vector<char*> env;
    for (std::string& entry : envCopies) env.push_back(entry.data());
    env.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    Outcome outcome;
    pid_t child = 0;
    const Clock::time_point start = Clock::now();
    const int spawned = posix_spawnp(&child, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return outcome;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return outcome;
    outcome.wall = std::chrono::duration<double>(Clock::now() - start).count();
    outcome.cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    outcome.peakKiB = usage.ru_maxrss;
    outcome.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return outcome;
}

// One run after the other, timed as one.
Outcome Then(const Outcome& first, const Outcome& second) {
    return {first.ok && second.ok, first.wall + second.wall, first.cpu + second.cpu,
            std::max(first.peakKiB, second.peakKiB)};
}

std::vector<std::string> BaseEnvironment() {
    const char* path = std::getenv("PATH");
    return {std::string("PATH=") + (path != nullptr ? path : "/usr/bin:/bin"), "LC_ALL=C.UTF-8", "LANG=C.UTF-8"};
}

// ------------------------------------------------------------------ trees

enum class Layout { kFolders200, kFolderEach, kNested, kOneFolder, kLarge };

const char* LayoutName(Layout layout) {
    switch (layout) {
        case Layout::kFolders200: return "in 200 folders";
        case Layout::kFolderEach: return "one per folder";
        case Layout::kNested: return "nested";
        case Layout::kOneFolder: return "all in one folder";
        case Layout::kLarge: return "large files";
    }
    return "";
}

std::string Number(int value, int width) {
    std::string text = std::to_string(value);
    return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(text.size()))), '0') + text;
}

std::string RelativePath(Layout layout, int index) {
    switch (layout) {
        case Layout::kFolders200: return "d" + Number(index % 200, 3) + "/t" + Number(index, 6) + ".tpl";
        case Layout::kFolderEach: return "d" + Number(index, 6) + "/t.tpl";
        case Layout::kNested: {
            // 20 files in each leaf, 10 leaves in a folder, 10 of those in a top folder.
            const int leaf = index / 20;
            return "a" + Number(leaf / 100, 3) + "/b" + Number(leaf / 10 % 10, 1) + "/c" + Number(leaf % 10, 1) + "/t" +
                   Number(index, 6) + ".tpl";
        }
        case Layout::kOneFolder: return "t" + Number(index, 6) + ".tpl";
        case Layout::kLarge: return index == 0 ? "big/random.bin" : "big/text.txt";
    }
    return "";
}

// Text that compresses about as well as templates do.
class TextSource {
public:
    explicit TextSource(unsigned seed) : state_(seed * 2654435761U + 1) {}
    void Fill(std::string& text, std::size_t size) {
        static const char* const kWords[] = {"report", "balance", "{{value}}", "total", "<row>", "</row>", "name",
                                             "date", "amount", "\n", "account", "=", "sum(", ")", "template", ";"};
        text.clear();
        while (text.size() < size) {
            text += kWords[Next() % 16];
            text += (Next() % 7 == 0) ? std::to_string(Next() % 100000) : " ";
        }
        text.resize(size);
    }
    unsigned Next() {
        state_ = state_ * 1664525U + 1013904223U;
        return state_ >> 8;
    }

private:
    unsigned state_;
};

// Writes `size` bytes from `fill` in pieces, so that this process stays
// small: a child's peak memory as the kernel reports it includes the peak of
// the process that spawned it.
bool WriteFile(const std::string& path, std::size_t size, const std::function<void(std::string&, std::size_t)>& fill,
               std::optional<std::time_t> time) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    std::string piece;
    bool written = true;
    for (std::size_t done = 0; done < size && written; done += piece.size()) {
        fill(piece, std::min<std::size_t>(size - done, 1 << 20));
        written = ::write(fd, piece.data(), piece.size()) == static_cast<ssize_t>(piece.size());
    }
    if (time) {
        const timespec times[2] = {{*time, 0}, {*time, 0}};
        ::futimens(fd, times);
    }
    return ::close(fd) == 0 && written;
}

// `files` files of about `bytes` bytes (the large layout: one of random
// bytes and one of text, each `bytes` long); `seed` varies the contents.
bool WriteTree(const std::string& root, Layout layout, int files, std::size_t bytes, unsigned seed,
               std::optional<std::time_t> time) {
    TextSource text(seed);
    const std::function<void(std::string&, std::size_t)> random = [&text](std::string& piece, std::size_t size) {
        piece.resize(size);
        for (char& c : piece) c = static_cast<char>(text.Next());
    };
    const std::function<void(std::string&, std::size_t)> words = [&text](std::string& piece, std::size_t size) {
        text.Fill(piece, size);
    };
    std::string lastFolder;
    for (int i = 0; i < files; ++i) {
        const std::string path = root + "/" + RelativePath(layout, i);
        const std::string folder = path.substr(0, path.rfind('/'));
        if (folder != lastFolder) fs::create_directories(folder);
        lastFolder = folder;
        const bool large = layout == Layout::kLarge;
        const std::size_t size = large ? bytes : bytes - bytes / 4 + text.Next() % (bytes / 2 + 1);
        if (!WriteFile(path, size, large && i == 0 ? random : words, time)) return false;
    }
    return true;
}

// ------------------------------------------------------------------ workloads

// One kit with its tar twin, the older copy of the same files and the
// places both sides install into.
class Workload {
public:
    // On `root`; `onDisk` for a file system whose writes a sync must reach the disk.
    Workload(const Options& options, const std::string& root, bool onDisk, Layout layout, int files,
             std::size_t bytes = 4096)
        : options_(options), onDisk_(onDisk), layout_(layout), files_(files),
          dir_(root + "/w-" + std::to_string(static_cast<int>(layout)) + "-" + std::to_string(files)) {
        fs::remove_all(dir_);
        fs::create_directories(dir_ + "/kit");
        fs::create_directories(dir_ + "/tmp");
        ok_ = WriteTree(dir_ + "/src", layout, files, bytes, 1, std::nullopt) &&
              Tool({options.bin + "/efdkit", "pack", dir_ + "/src", dir_ + "/kit/qorn.efd"}) &&
              Tool({"tar", "-C", dir_ + "/src", "-czf", dir_ + "/tree.tar.gz", "."});
    }
    ~Workload() { fs::remove_all(dir_); }
    Workload(const Workload&) = delete;
    Workload& operator=(const Workload&) = delete;

    bool ok() const { return ok_; }
    int files() const { return files_; }
    Layout layout() const { return layout_; }
    bool onDisk() const { return onDisk_; }
    std::string installed() const { return dir_ + "/home" + kTemplateDirectory; }
    std::string untarred() const { return dir_ + "/tar"; }
    std::string floored() const { return dir_ + "/floor"; }

    // The destination of one side removed; with `old`, it holds the older copy.
    bool Reset(bool installerSide, bool old) {
        const std::string destination = installerSide ? installed() : untarred();
        if (installerSide) {
            fs::remove_all(dir_ + "/home");
            fs::remove_all(dir_ + "/tmp");
            fs::create_directories(dir_ + "/tmp");
            fs::create_directories(fs::path(destination).parent_path());
        } else {
            fs::remove_all(destination);
        }
        if (!old) return (installerSide || fs::create_directories(destination)) && Settle();
        if (!fs::exists(dir_ + "/old") && !WriteTree(dir_ + "/old", layout_, files_, 4096, 2, kOldTime)) return false;
        return Tool({"cp", "-a", dir_ + "/old", destination}) && Settle();
    }
    bool ResetFloor() {
        fs::remove_all(floored());
        return fs::create_directories(floored()) && Settle();
    }
    // On a disk, the writes of whatever ran before reach it now, outside the
    // measured time, so that the next run's sync does not pay for them.
    bool Settle() const {
        if (!onDisk_) return true;
        const int fd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool synced = fd >= 0 && ::syncfs(fd) == 0;
        if (fd >= 0) ::close(fd);
        return synced;
    }

    Outcome Install(bool withDisplay) const { return Setup({"-S"}, withDisplay); }
    Outcome Verify() const { return Setup({"-V"}, false); }
    Outcome DryRun() const { return Setup({"-S", "-N"}, false); }

    // tar; on a disk followed by `sync -f` of its output, as the installer syncs its own at the commit.
    Outcome Untar(bool skipOld) const {
        std::vector<std::string> argv = {"tar", "-C", untarred(), "-xzf", dir_ + "/tree.tar.gz"};
        if (skipOld) argv.push_back("--skip-old-files");
        const Outcome untarred = Run(argv, dir_, BaseEnvironment(), dir_ + "/tar.log");
        if (!onDisk_ || !untarred.ok) return untarred;
        return Then(untarred, Run({"sync", "-f", this->untarred()}, dir_, BaseEnvironment(), dir_ + "/sync.log"));
    }

    // GTK+ alone: a window with a button, drawn once (toolkit_floor).
    Outcome ToolkitFloor() const {
        std::vector<std::string> env = BaseEnvironment();
        AddDisplay(env);
        return Run({options_.bin + "/toolkit_floor"}, dir_, env, dir_ + "/toolkit.log");
    }

    Outcome Floor() const {
        std::vector<std::string> argv = {options_.bin + "/floor_bench", dir_ + "/kit/qorn.efd", floored()};
        if (onDisk_) argv.push_back("--sync");
        return Run(argv, dir_, BaseEnvironment(), dir_ + "/floor.log");
    }

    // Whether the installer (or the floor) left exactly the kit's files.
    // The record's folder is the installer's own.
    bool InstalledMatches() const {
        return Tool({"diff", "-r", "-q", "-x", ".qorn-record", dir_ + "/src", installed()});
    }
    bool FloorMatches() const { return Tool({"diff", "-r", "-q", dir_ + "/src", floored()}); }

    std::string Log() const {
        std::ifstream in(dir_ + "/setup.log");
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    Outcome Setup(const std::vector<std::string>& options, bool withDisplay) const {
        std::vector<std::string> env = BaseEnvironment();
        env.push_back("HOME=" + dir_ + "/home");
        env.push_back("TMPDIR=" + dir_ + "/tmp");
        if (withDisplay) AddDisplay(env);
        std::vector<std::string> argv = {options_.bin + "/setup", "usecwd"};
        argv.insert(argv.end(), options.begin(), options.end());
        return Run(argv, dir_ + "/kit", env, dir_ + "/setup.log");
    }

    // The wizard's display, without the accessibility bridge or a theme of the desktop.
    void AddDisplay(std::vector<std::string>& env) const {
        env.push_back("DISPLAY=" + options_.display);
        env.push_back("NO_AT_BRIDGE=1");
        env.push_back("GTK2_RC_FILES=/dev/null");
    }

    bool Tool(const std::vector<std::string>& argv) const {
        return Run(argv, dir_, BaseEnvironment(), dir_ + "/tool.log").ok;
    }

    const Options& options_;
    bool onDisk_;
    Layout layout_;
    int files_;
    std::string dir_;
    bool ok_ = false;
};

// ------------------------------------------------------------------ rows

struct Row {
    std::string work;
    std::string unit;  // "s" or "s CPU"
    double installer = 0;
    double reference = 0;
    double ratio = 0;
    double cpuRatio = 0;  // the same ratio in CPU time, for rows measured by the clock
    double goal = 0;
    std::string referenceName;
    bool measured = false;
    bool informative = false;  // no goal: shown for scale
    bool pass = false;
    std::string note;
};

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 != 0 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

using Side = std::function<std::optional<Outcome>()>;

// One pair of runs per round, in alternating order: `prepare` before each
// run, then the installer side and the reference side. The row's figure is
// in wall-clock seconds, or in CPU seconds with `byCpu`; the CPU ratio is kept
// beside a clock ratio because on a loaded machine the two-process tar gets
// two shares of the processors where the installer's one busy thread gets one.
Row Compare(const std::string& work, const std::string& referenceName, double goal, int rounds, bool byCpu,
            const std::function<bool(bool)>& prepare, const Side& installer, const Side& reference) {
    Row row;
    row.work = work;
    row.unit = "s";
    row.goal = goal;
    row.referenceName = referenceName;
    std::vector<double> ratios;
    std::vector<double> cpuRatios;
    std::vector<double> installerTimes;
    std::vector<double> referenceTimes;
    for (int round = 0; round < rounds; ++round) {
        std::optional<Outcome> mine;
        std::optional<Outcome> theirs;
        for (int side = 0; side < 2; ++side) {
            const bool installerTurn = (side == 0) == (round % 2 == 0);
            if (!prepare(installerTurn)) {
                row.note = "preparation failed";
                return row;
            }
            (installerTurn ? mine : theirs) = installerTurn ? installer() : reference();
            if (!(installerTurn ? mine : theirs)) {
                row.note = installerTurn ? "installer failed" : "reference failed";
                return row;
            }
        }
        const double installerTime = byCpu ? mine->cpu : mine->wall;
        const double referenceTime = byCpu ? theirs->cpu : theirs->wall;
        ratios.push_back(installerTime / referenceTime);
        cpuRatios.push_back(mine->cpu / theirs->cpu);
        installerTimes.push_back(installerTime);
        referenceTimes.push_back(referenceTime);
    }
    row.installer = Median(installerTimes);
    row.reference = Median(referenceTimes);
    row.ratio = Median(ratios);
    row.cpuRatio = Median(cpuRatios);
    row.measured = true;
    row.pass = row.ratio <= goal;
    return row;
}

std::optional<Outcome> IfOk(const Outcome& outcome) {
    return outcome.ok ? std::optional<Outcome>(outcome) : std::nullopt;
}

std::string Count(int files) {
    return files % 1000 == 0 ? std::to_string(files / 1000) + "k" : std::to_string(files);
}

// The installer's first run of a row must install exactly the kit.
Side CheckedInstall(Workload& workload, bool withDisplay) {
    auto checked = std::make_shared<bool>(false);
    return [&workload, withDisplay, checked]() -> std::optional<Outcome> {
        const Outcome outcome = workload.Install(withDisplay);
        if (!outcome.ok) {
            std::fprintf(stderr, "setup failed:\n%s\n", workload.Log().c_str());
            return std::nullopt;
        }
        if (!*checked) {
            if (!workload.InstalledMatches()) {
                std::fprintf(stderr, "the installed tree differs from the kit's files\n");
                return std::nullopt;
            }
            *checked = true;
        }
        return outcome;
    };
}

// The figures of one file system: on a disk, tar's side ends with its sync.
std::string Where(const Workload& w) { return w.onDisk() ? ", ext4" : ""; }
std::string Tar(const Workload& w, const std::string& options) {
    return "tar -xzf" + options + (w.onDisk() ? " && sync -f" : "");
}

Row Fresh(Workload& w, int rounds, double goal) {
    return Compare("fresh installation, " + Count(w.files()) + " files " + LayoutName(w.layout()) + ", headless" +
                       Where(w),
                   Tar(w, ""), goal, rounds, false, [&](bool side) { return w.Reset(side, false); },
                   CheckedInstall(w, false), [&] { return IfOk(w.Untar(false)); });
}

Row Wizard(Workload& w, int rounds) {
    Row row = Compare("fresh installation of " + Count(w.files()) + " files with the wizard on Xvfb (CPU)",
                      "the same run headless (CPU)", 1.05, rounds, true,
                      [&](bool) { return w.Reset(true, false); }, CheckedInstall(w, true),
                      [&] { return IfOk(w.Install(false)); });
    row.unit = "s CPU";
    return row;
}

// The toolkit alone against the headless run: the share of it that no
// window, however light, can cost less than; the wizard's goal leaves 0.05.
Row ToolkitFloor(Workload& w, int rounds) {
    Row row = Compare("floor of the window: GTK+ alone, a window with one button drawn once (toolkit_floor), CPU",
                      "the same headless run (CPU)", 0, rounds, true, [&](bool) { return w.Reset(true, false); },
                      [&w] { return IfOk(w.ToolkitFloor()); }, [&] { return IfOk(w.Install(false)); });
    row.unit = "s CPU";
    row.informative = true;
    row.pass = row.measured;
    return row;
}

Row Reinstall(Workload& w, int rounds, double goal) {
    // Both sides start from a complete, up-to-date copy and leave it so.
    const bool ready = w.Reset(true, false) && w.Reset(false, false) && w.Install(false).ok && w.Untar(false).ok;
    return Compare("reinstallation, " + Count(w.files()) + " files, every file up to date" + Where(w),
                   Tar(w, " --skip-old-files"), goal, rounds, false, [&](bool) { return ready && w.Settle(); },
                   CheckedInstall(w, false), [&] { return IfOk(w.Untar(true)); });
}

Row Update(Workload& w, int rounds, double goal) {
    return Compare("update of " + Count(w.files()) + " older files " + LayoutName(w.layout()) + Where(w),
                   Tar(w, " over the old copy"), goal, rounds, false,
                   [&](bool side) { return w.Reset(side, true); }, CheckedInstall(w, false),
                   [&] { return IfOk(w.Untar(false)); });
}

// `--verify` or `--dry-run` over the installed files against a fresh
// installation of them, in the same rounds.
Row ReadOnly(Workload& w, int rounds, bool verify) {
    const Side readOnly = [&w, verify] { return IfOk(verify ? w.Verify() : w.DryRun()); };
    return Compare(std::string(verify ? "--verify (setup -V)" : "--dry-run (setup -S -N)") + " of " +
                       Count(w.files()) + " installed files" + Where(w),
                   "fresh installation", 0.25, rounds, false,
                   [&](bool readOnlyTurn) {
                       return w.Reset(true, false) && (!readOnlyTurn || (w.Install(false).ok && w.Settle()));
                   },
                   readOnly, CheckedInstall(w, false));
}

// The floor: the same files written with nothing around them, for scale.
Row Floor(Workload& w, int rounds) {
    auto checked = std::make_shared<bool>(false);
    Row row = Compare("floor: the kit's files written bare (floor_bench)" + Where(w), Tar(w, ""), 0, rounds, false,
                      [&](bool floorTurn) { return floorTurn ? w.ResetFloor() : w.Reset(false, false); },
                      [&w, checked]() -> std::optional<Outcome> {
                          const Outcome outcome = w.Floor();
                          if (!outcome.ok || (!*checked && !w.FloorMatches())) return std::nullopt;
                          *checked = true;
                          return outcome;
                      },
                      [&] { return IfOk(w.Untar(false)); });
    row.informative = true;
    row.pass = row.measured;
    return row;
}

// Peak memory of a fresh installation against the goal; the reference
// column shows tar's peak for scale.
Row Memory(Workload& w) {
    Row row;
    row.work = "peak memory, " + Count(w.files()) + (w.layout() == Layout::kLarge ? " large files" : " entries");
    row.unit = "MiB";
    row.goal = kMemoryGoalKiB / 1024.0;
    row.referenceName = "tar -xzf (for scale)";
    if (!w.Reset(true, false) || !w.Reset(false, false)) return row;
    const Outcome mine = w.Install(false);
    const Outcome theirs = w.Untar(false);
    if (!mine.ok || !theirs.ok || !w.InstalledMatches()) {
        row.note = mine.ok ? "installed tree differs" : "installer failed";
        return row;
    }
    row.installer = mine.peakKiB / 1024.0;
    row.reference = theirs.peakKiB / 1024.0;
    row.ratio = row.installer;
    row.measured = true;
    row.pass = mine.peakKiB < kMemoryGoalKiB;
    return row;
}

void Print(const Row& row) {
    if (!row.measured) {
        std::printf("| %s | - | %s | - | - | <= %.3g | FAIL (%s) |\n", row.work.c_str(), row.referenceName.c_str(),
                    row.goal, row.note.c_str());
    } else if (row.unit == "MiB") {
        std::printf("| %s | %.1f MiB | %s %.1f MiB | %.1f MiB | | < %.0f MiB | %s |\n", row.work.c_str(),
                    row.installer, row.referenceName.c_str(), row.reference, row.ratio, row.goal,
                    row.pass ? "PASS" : "FAIL");
    } else if (row.informative) {
        std::printf("| %s | %.3f %s | %s %.3f %s | %.2f | %.2f | - | info |\n", row.work.c_str(), row.installer,
                    row.unit.c_str(), row.referenceName.c_str(), row.reference, row.unit.c_str(), row.ratio,
                    row.cpuRatio);
    } else {
        std::printf("| %s | %.3f %s | %s %.3f %s | %.2f | %.2f | <= %.3g | %s |\n", row.work.c_str(), row.installer,
                    row.unit.c_str(), row.referenceName.c_str(), row.reference, row.unit.c_str(), row.ratio,
                    row.cpuRatio, row.goal, row.pass ? "PASS" : "FAIL");
    }
    std::fflush(stdout);
}

// Installer seconds per file at the largest count over those at the
// smallest: near 1 when the cost per file does not grow with the count.
void PrintGrowth(const char* layout, const std::vector<Row>& rows, const std::vector<int>& counts, bool& allPass) {
    if (rows.front().measured && rows.back().measured) {
        const double growth =
            (rows.back().installer / counts.back()) / (rows.front().installer / counts.front());
        const bool pass = growth <= 1.5;
        allPass = allPass && pass;
        std::printf("| growth of the cost per file, %s, %s to %s files | %.2f | | | | <= 1.5 | %s |\n", layout,
                    Count(counts.front()).c_str(), Count(counts.back()).c_str(), growth, pass ? "PASS" : "FAIL");
    }
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--full") {
            options.full = true;
        } else if (arg == "--quick") {
            options.full = false;
        } else if ((arg == "--bin" || arg == "--root" || arg == "--disk" || arg == "--display") && i + 1 < argc) {
            (arg == "--bin" ? options.bin : arg == "--root" ? options.root : arg == "--disk" ? options.disk
                                                                                                : options.display) =
                argv[++i];
        } else {
            return false;
        }
    }
    return !options.bin.empty() && !options.root.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: speed_bench --bin DIR --root DIR [--disk DIR] [--full|--quick] [--display :N]\n");
        return 2;
    }
    const int rounds = options.full ? 5 : 3;
    const int freshCount = options.full ? 20000 : 4000;
    const int updateCount = options.full ? 40000 : 8000;
    constexpr int kWizardFiles = 20000;
    const std::vector<int> counts =
        options.full ? std::vector<int>{10000, 20000, 40000} : std::vector<int>{1000, 2000, 4000};
    const int manyEntries = options.full ? 100000 : 25000;
    bool allPass = true;
    auto report = [&](const Row& row) {
        allPass = allPass && row.pass;
        Print(row);
    };

    std::printf("%s mode, %d rounds, scratch %s%s%s\n\n", options.full ? "full" : "quick", rounds,
                options.root.c_str(), options.disk.empty() ? "" : ", ext4 scratch ", options.disk.c_str());
    std::printf("| work | installer | reference | ratio | CPU ratio | goal | result |\n|---|---|---|---|---|---|---|\n");
    // The rows the goals are set on, on tmpfs, then on the disk with the same goals.
    for (const bool onDisk : {false, true}) {
        if (onDisk && options.disk.empty()) {
            std::printf("| fresh installation, reinstallation, update, floor on ext4 | - | - | - | - | - | "
                        "SKIP (no loop-mounted ext4: not root, or no loop device) |\n");
            continue;
        }
        const std::string& root = onDisk ? options.disk : options.root;
        {
            Workload nested(options, root, onDisk, Layout::kNested, freshCount);
            if (!nested.ok()) {
                std::fprintf(stderr, "cannot prepare the kit of %d files in %s\n", freshCount, root.c_str());
                return 2;
            }
            report(Fresh(nested, rounds, 0.60));
            report(Reinstall(nested, rounds, 0.30));
            if (!onDisk) {
                report(ReadOnly(nested, rounds, true));
                report(ReadOnly(nested, rounds, false));
            }
            report(Floor(nested, rounds));
        }
        {
            Workload each(options, root, onDisk, Layout::kFolderEach, updateCount);
            report(Update(each, rounds, 1.00));
        }
    }
    // What the window costs is measured on a kit of the size the goal was set
    // on: against a few thousand files the toolkit's fixed start-up (about
    // 15 ms of CPU) alone is a tenth of the run.
    if (options.display.empty()) {
        std::printf("| fresh installation with the wizard on Xvfb (CPU) | - | - | - | - | <= 1.05 | SKIP (no display) |\n");
    } else {
        Workload spread(options, options.root, false, Layout::kFolders200, kWizardFiles);
        report(Wizard(spread, rounds));
        report(ToolkitFloor(spread, rounds));
    }
    for (Layout layout : {Layout::kNested, Layout::kFolderEach, Layout::kOneFolder}) {
        std::vector<Row> rows;
        for (int count : counts) {
            Workload w(options, options.root, false, layout, count);
            rows.push_back(Update(w, rounds, 1.5));
            report(rows.back());
        }
        PrintGrowth(LayoutName(layout), rows, counts, allPass);
    }
    {
        Workload many(options, options.root, false, Layout::kNested, manyEntries, 256);
        report(Memory(many));
    }
    {
        Workload large(options, options.root, false, Layout::kLarge, 2, (options.full ? 256U : 64U) << 20);
        report(Memory(large));
    }
    std::printf("\n%s\n", allPass ? "every goal met" : "some goals missed");
    return allPass ? 0 : 1;
}
