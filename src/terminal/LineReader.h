// One answer typed at the terminal: with line editing and file-name
// completion (libedit) where the program was built with it, otherwise a line
// as the terminal driver reads it. A termination signal (Ctrl+C) or the end
// of input interrupts the reading.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>

#include "text/WString.h"

struct TypedLine {
    AString text;       // without its line end
    bool whole = true;  // false when some bytes were not valid in the locale's encoding
};

class LineReader {
public:
    // Reads from `in`, writes the prompt and the edited line to `out`; neither
    // is owned. With `editing` false, plain lines even where libedit is there.
    LineReader(std::FILE* in, std::FILE* out, bool editing = true);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Writes `prompt` and reads one line. With line editing the line starts
    // as `initial`, to be edited or accepted, and Tab completes a path;
    // without, an empty line gives `initial`. Empty when the reading was
    // interrupted; the terminal is left as it was found either way.
    std::optional<TypedLine> ReadLine(const AString& prompt, const AString& initial);

private:
    struct Editor;

    std::optional<TypedLine> ReadPlainLine(const AString& prompt, const AString& initial);

    std::FILE* in_;
    std::FILE* out_;
    std::unique_ptr<Editor> editor_;  // null without line editing
};
