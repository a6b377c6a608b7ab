// The width of the terminal a stream writes to, for text wrapped to it.
#pragma once

#include <cstddef>
#include <cstdio>

// The terminal's columns as it reports them now (it may have been resized);
// 0 when `stream` is no terminal or the terminal does not say.
std::size_t TerminalColumns(std::FILE* stream);
