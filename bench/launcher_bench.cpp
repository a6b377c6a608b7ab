// Reading and rewriting a large launcher file against a reference in the
// same run: `sort` of the same file, which also reads every line, compares
// it with others and writes it all out again, and `cp` for the bare I/O.
//
//   launcher_bench [VALUES [ROUNDS]]
//
// The file holds VALUES distinct template locations (16,000 by default),
// none of which exists. Rows: reading and rewriting the locations as the
// recording after an installation does, and the whole start and recording,
// which also probes every location. Each figure is the median of ROUNDS
// rounds (5 by default), interleaved with the references.
//
// Exits 1 when reading and rewriting takes kGoalSeconds of processor time or
// more (wall-clock time is printed too; on an idle machine they agree).
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "launcher/LauncherPaths.h"
#include "launcher/TemplateDirectory.h"
#include "launcher/TemplateLocations.h"
#include "platform/FileTree.h"
#include "text/Convert.h"

extern char** environ;

namespace {

constexpr double kGoalSeconds = 0.2;

using Clock = std::chrono::steady_clock;

// Wall-clock and processor time of one piece of work. The machine may be
// shared: processor time is what the work itself costs.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

double CpuSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

Timing Measure(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    const double cpuStart = ThreadCpuSeconds();
    work();
    return {std::chrono::duration<double>(Clock::now() - start).count(), ThreadCpuSeconds() - cpuStart};
}

// Runs a program to its end; its processor time goes to `cpu`.
bool Run(std::vector<std::string> args, double& cpu) {
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    cpu = CpuSeconds(usage);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Timing MeasureProgram(std::vector<std::string> args, bool& ok) {
    double cpu = 0;
    Timing timing = Measure([&] { ok = Run(std::move(args), cpu) && ok; });
    timing.cpu = cpu;
    return timing;
}

Timing Median(const std::vector<Timing>& timings) {
    std::vector<double> wall, cpu;
    for (const Timing& t : timings) wall.push_back(t.wall), cpu.push_back(t.cpu);
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void PrintRow(const char* what, const Timing& timing, const Timing& reference) {
    std::printf("%-30s %8.4f s %8.4f s  %7.2f x\n", what, timing.wall, timing.cpu, timing.cpu / reference.cpu);
}

std::string LauncherFileContent(int values) {
    std::string content = "LastProject=/home/user/projects/accounting\n";
    char line[128];
    for (int i = 0; i < values; ++i) {
        std::snprintf(line, sizeof line, "ConfigurationTemplatesLocation=/srv/t/set-%05d\n", i);
        content += line;
    }
    return content + "WindowState=maximized\n";
}

}  // namespace

int main(int argc, char** argv) {
    const int values = argc > 1 ? std::atoi(argv[1]) : 16000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    char pattern[] = "/tmp/qorn-launcher-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 2;
    const std::string root = pattern;
    setenv("HOME", root.c_str(), 1);
    setenv("TMPDIR", root.c_str(), 1);
    const std::string path = ToAString(LauncherConfigPath(false)).c_str();
    MakeDirectoryTree(ToWString(path.substr(0, path.rfind('/')).c_str()));
    const std::string content = LauncherFileContent(values);
    const auto lay = [&] { std::ofstream(path, std::ios::binary | std::ios::trunc) << content; };

    std::vector<Timing> rewrite, startAndRecord, sortTimes, copyTimes;
    bool ok = true;
    for (int round = 0; round < rounds; ++round) {
        lay();
        rewrite.push_back(Measure([&] {
            std::vector<ConfigValue> locations;
            ReadTemplateLocations(locations, false);
            locations.insert(locations.begin(), ConfigValue{ToWString("/srv/t/used"), {}, 0, true});
            ok = WriteTemplateLocations(locations, false) && ok;
        }));
        lay();
        startAndRecord.push_back(Measure([&] {
            TemplateDirectoryChoice choice = ChooseTemplateDirectory();
            ok = RecordTemplateDirectory(choice.directory, choice.locations, false, false).empty() && ok;
        }));
        lay();
        sortTimes.push_back(MeasureProgram({"sort", "-o", root + "/sorted", path}, ok));
        copyTimes.push_back(MeasureProgram({"cp", path, root + "/copied"}, ok));
    }
    RemoveTree(ToWString(root.c_str()));

    const Timing reference = Median(sortTimes);
    const Timing rewritten = Median(rewrite);
    std::printf("launcher file: %d values of one key, %zu KB; median of %d rounds\n", values, content.size() / 1024,
                rounds);
    std::printf("%-30s %10s %10s  %8s\n", "", "wall", "processor", "x sort");
    PrintRow("sort (reference)", reference, reference);
    PrintRow("cp", Median(copyTimes), reference);
    PrintRow("read + rewrite", rewritten, reference);
    PrintRow("start + record (every probe)", Median(startAndRecord), reference);
    std::printf("goal: read + rewrite under %.1f s of processor time: %s\n", kGoalSeconds,
                rewritten.cpu < kGoalSeconds ? "met" : "NOT met");
    if (!ok) std::printf("a step failed\n");
    return ok && rewritten.cpu < kGoalSeconds ? 0 : 1;
}
