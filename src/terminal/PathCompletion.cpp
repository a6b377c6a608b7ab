#include "terminal/PathCompletion.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/InstallerController.h"
#include "text/Convert.h"

namespace {

std::size_t SharedLength(const std::string& a, const std::string& b) {
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(ia - a.begin());
}

}  // namespace

PathCompletion CompletePath(const std::string& typed) {
    PathCompletion result;
    const AString bytes(typed.c_str(), typed.size());
    const WString decoded = ToWString(bytes);
    if (!(ToAString(decoded) == bytes)) return result;  // not a path the answer could name
    const AString cleaned = ToAString(CleanTypedDirectory(decoded));
    const std::string path(cleaned.c_str(), cleaned.length());
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string stem = slash == std::string::npos ? path : path.substr(slash + 1);

    std::error_code error;
    std::filesystem::directory_iterator entries(directory, error);
    if (error) return result;
    for (const auto& entry : entries) {
        std::string name = entry.path().filename().string();
        if (name.compare(0, stem.size(), stem) != 0) continue;
        if (name[0] == '.' && (stem.empty() || stem[0] != '.')) continue;
        std::error_code kindError;
        if (entry.is_directory(kindError)) name += '/';
        result.candidates.push_back(std::move(name));
    }
    if (result.candidates.empty()) return result;
    std::sort(result.candidates.begin(), result.candidates.end());
    std::size_t shared = result.candidates.front().size();
    for (const std::string& name : result.candidates) shared = std::min(shared, SharedLength(name, result.candidates.front()));
    result.insert = result.candidates.front().substr(stem.size(), shared - stem.size());
    if (result.candidates.size() == 1) result.candidates.clear();
    return result;
}
