// A private directory for one fuzzing process, removed when it ends, and the
// file helpers the harnesses share. Kept in memory (/dev/shm) when possible,
// since the harnesses write a file for every input.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fuzz {

inline const std::string& ScratchDirectory() {
    static const std::string directory = [] {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/qorn-fuzz-XXXXXX";
            if (::mkdtemp(pattern.data()) != nullptr) return pattern;
        }
        std::abort();  // nowhere to write: no input could be tried
    }();
    static const struct Remover {
        ~Remover() {
            std::error_code ignored;
            std::filesystem::remove_all(directory, ignored);
        }
    } remover;
    return directory;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    if (!(std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes).good()) std::abort();
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace fuzz
