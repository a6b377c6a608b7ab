// Installation speed against a reference in the same run: the installer's
// unpack-and-install of a kit compared with `tar -x` of the same files, and
// a reinstallation (every file up to date) compared with the first one.
//
//   install_bench [FILES [BYTES-PER-FILE]]
//
// The kit is one deflate stream, so the reference is a gzip-compressed tar.
//
// Exits 1 when the installation takes more than kTargetRatio times as long
// as tar, which also has to inflate, read and write every byte, or when the
// process's peak memory grows past kMemoryTarget: the kit is streamed, never
// held in memory, so its size must not show in the peak.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/InstallJob.h"
#include "app/InstallTransaction.h"
#include "app/ProgressState.h"
#include "kit/KitReader.h"
#include "platform/FileTree.h"
#include "text/Convert.h"

extern char** environ;

namespace {

constexpr double kTargetRatio = 2.0;
constexpr long kMemoryTargetKiB = 32 * 1024;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool Run(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

WString Wide(const std::string& text) { return ToWString(text.c_str()); }

// A tree of `files` files in 20 folders, each holding `bytes` random bytes.
void MakeTree(const std::string& tree, int files, int bytes) {
    std::mt19937 random(42);
    std::string data(static_cast<std::size_t>(bytes), '\0');
    for (int i = 0; i < files; ++i) {
        for (auto& c : data) c = static_cast<char>(random() % 64 + 32);
        const std::string folder = "folder" + std::to_string(i % 20);
        const std::string name = folder + "/file" + std::to_string(i) + ".tpl";
        MakeDirectoryTree(Wide(tree + "/" + folder));
        std::FILE* out = std::fopen((tree + "/" + name).c_str(), "wb");
        if (out == nullptr) return;
        std::fwrite(data.data(), 1, data.size(), out);
        std::fclose(out);
    }
}

// The kit is packed by the authoring tool beside this program, in its own
// process, so that this process's peak memory is the installer's alone.
std::string SiblingProgram(const char* name) {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    return path.substr(0, path.rfind('/') + 1) + name;
}

double TimeInstall(KitReader& kit, const std::string& target) {
    const Clock::time_point start = Clock::now();
    ProgressState progress;
    progress.StartJob(kit, Wide(target));
    InstallTransaction transaction;
    if (RunInstallJob(transaction, progress) != ERR_NONE) std::fprintf(stderr, "installation failed\n");
    return SecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 4000;
    const int bytes = argc > 2 ? std::atoi(argv[2]) : 32768;
    char pattern[] = "/tmp/qorn-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 2;
    const std::string root = pattern;
    setenv("TMPDIR", root.c_str(), 1);

    MakeTree(root + "/tree", files, bytes);
    const std::string kitPath = root + "/qorn.efd";
    if (!Run({SiblingProgram("efdkit"), "pack", root + "/tree", kitPath})) return 2;
    Run({"tar", "-C", root + "/tree", "-czf", root + "/tree.tar.gz", "."});
    MakeDirectoryTree(Wide(root + "/tar-target"));

    Clock::time_point start = Clock::now();
    const bool tarOk = Run({"tar", "-C", root + "/tar-target", "-xzf", root + "/tree.tar.gz"});
    const double tarSeconds = SecondsSince(start);

    start = Clock::now();
    double installSeconds = 0;
    double reinstallSeconds = 0;
    {
        KitReader kit;
        if (KitOpen(kit, Wide(kitPath)) != ERR_NONE) return 2;
        const double openSeconds = SecondsSince(start);
        installSeconds = openSeconds + TimeInstall(kit, root + "/target");
        reinstallSeconds = TimeInstall(kit, root + "/target");
    }
    RemoveTree(Wide(root));

    const double ratio = installSeconds / tarSeconds;
    std::printf("files %d x %d bytes\n", files, bytes);
    std::printf("tar -xz                %8.3f s%s\n", tarSeconds, tarOk ? "" : " (failed)");
    std::printf("unpack + install       %8.3f s  (%.2f x tar, target <= %.1f x)\n", installSeconds, ratio,
                kTargetRatio);
    std::printf("reinstall (up to date) %8.3f s\n", reinstallSeconds);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory            %8ld KiB (target <= %ld KiB, kit data %lld KiB)\n", usage.ru_maxrss,
                kMemoryTargetKiB, static_cast<long long>(files) * bytes / 1024);
    return ratio <= kTargetRatio && usage.ru_maxrss <= kMemoryTargetKiB ? 0 : 1;
}
