// The five commands of efdkit, the kit authoring tool. Each takes the
// arguments after its own name and returns the process exit status:
// 0 success, 1 failure (one line on standard error), 2 bad arguments.
#pragma once

#include <string>
#include <vector>

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

// efdkit pack [--single] [--lang CODE --product TEXT --provider TEXT --description FILE]... DIR KIT
int RunPack(const Arguments& arguments);
// efdkit list KIT (a kit, or a one-file installer; also verify and unpack)
int RunList(const Arguments& arguments);
// efdkit verify KIT
int RunVerify(const Arguments& arguments);
// efdkit unpack KIT DIR
int RunUnpack(const Arguments& arguments);
// efdkit bundle SETUP KIT -o FILE
int RunBundle(const Arguments& arguments);

// Prints the usage text to standard error and returns kExitUsage.
int Usage(const std::string& problem);
