// System calls of an undo, tried again before their failure counts: a passing
// fault (a device or file system that refuses one call) must not leave a run
// half undone, nor a tree reported as restored that is not.
#pragma once

#include <cerrno>

// What a failed call tells about the tree rather than about a fault: nothing
// there, not a folder, a link, another file system, a name taken, a folder
// with something in it. Trying again gives the same answer.
inline bool IsAnswer(int error) {
    return error == ENOENT || error == ENOTDIR || error == ELOOP || error == EXDEV || error == EEXIST ||
           error == ENOTEMPTY;
}

// Calls `call` (a system call returning a negative value with errno on
// failure) until it succeeds, fails with an answer, or has failed four times;
// returns the last result, errno as that call left it.
template <typename Call>
auto Retried(Call call) -> decltype(call()) {
    constexpr int kAttempts = 4;
    auto result = call();
    for (int attempt = 1; attempt < kAttempts && result < 0 && !IsAnswer(errno); ++attempt) result = call();
    return result;
}
