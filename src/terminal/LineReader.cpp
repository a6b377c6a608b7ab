#include "terminal/LineReader.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <string>

#include "app/TerminationSignals.h"

#if QORN_HAVE_LIBEDIT
#include <histedit.h>

#include "terminal/PathCompletion.h"
#include "text/Convert.h"
#include "text/VisibleText.h"
#endif

namespace {

// How long a wait for a key may miss a signal that arrived just before it.
constexpr int kSignalCheckMs = 100;

// One byte of `fd`: 1, or 0 at the end of input, or -1 once a termination
// signal has asked to stop.
int ReadByte(int fd, char* byte) {
    for (;;) {
        if (TerminationSignals::Requested()) return -1;
        pollfd waiting{fd, POLLIN, 0};
        const int ready = poll(&waiting, 1, kSignalCheckMs);
        if (ready < 0 && errno != EINTR) return 0;
        if (ready <= 0) continue;
        const ssize_t got = read(fd, byte, 1);
        if (got == 1) return 1;
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return 0;
    }
}

#if QORN_HAVE_LIBEDIT
// A file name as a completion lists it: control characters shown; a name
// the locale cannot read has each byte outside ASCII shown as "?".
std::string ShownName(const std::string& name) {
    const AString bytes(name.c_str(), name.size());
    const WString decoded = ToWString(bytes);
    if (ToAString(decoded) == bytes) return ToAString(Visible(decoded)).c_str();
    std::string shown;
    for (const char c : name) {
        const char16_t unit = static_cast<unsigned char>(c);
        shown += unit >= 0x80 ? std::string("?") : std::string(ToAString(Visible(WString(&unit, 1))).c_str());
    }
    return shown;
}
#endif

}  // namespace

#if QORN_HAVE_LIBEDIT

struct LineReader::Editor {
    EditLine* line = nullptr;
    int in = -1;
    std::FILE* out = nullptr;
    std::string prompt;
    std::mbstate_t state{};
    bool whole = true;
    bool interrupted = false;

    static Editor* Of(EditLine* line) {
        void* data = nullptr;
        el_get(line, EL_CLIENTDATA, &data);
        return static_cast<Editor*>(data);
    }

    static char* Prompt(EditLine* line) { return Of(line)->prompt.data(); }

    // Keys decoded in the locale's encoding; a byte that does not fit is
    // remembered, so that the answer is refused rather than cut.
    static int GetChar(EditLine* line, wchar_t* key) {
        Editor* self = Of(line);
        for (;;) {
            char byte = 0;
            const int got = ReadByte(self->in, &byte);
            if (got <= 0) {
                self->interrupted = true;
                return got;
            }
            wchar_t decoded = 0;
            const std::size_t used = std::mbrtowc(&decoded, &byte, 1, &self->state);
            if (used == static_cast<std::size_t>(-2)) continue;
            if (used == static_cast<std::size_t>(-1)) {
                self->state = std::mbstate_t{};
                self->whole = false;
                decoded = L'?';
            }
            *key = decoded;
            return 1;
        }
    }

    static unsigned char Complete(EditLine* line, int) {
        const LineInfo* info = el_line(line);
        const PathCompletion completion = CompletePath(std::string(info->buffer, info->cursor));
        if (!completion.insert.empty()) {
            return el_insertstr(line, completion.insert.c_str()) == 0 ? CC_REFRESH : CC_ERROR;
        }
        if (completion.candidates.empty()) return CC_REFRESH_BEEP;
        std::FILE* out = Of(line)->out;
        std::fputc('\n', out);
        for (const std::string& name : completion.candidates) std::fprintf(out, "%s  ", ShownName(name).c_str());
        std::fputc('\n', out);
        return CC_REDISPLAY;
    }
};

LineReader::LineReader(std::FILE* in, std::FILE* out, bool editing) : in_(in), out_(out) {
    if (!editing || isatty(fileno(in)) == 0) return;
    editor_ = std::make_unique<Editor>();
    editor_->in = fileno(in);
    editor_->out = out;
    editor_->line = el_init("setup", in, out, out);
    if (editor_->line == nullptr) {
        editor_.reset();
        return;
    }
    EditLine* line = editor_->line;
    el_set(line, EL_CLIENTDATA, editor_.get());
    el_set(line, EL_EDITOR, "emacs");
    el_set(line, EL_PROMPT, &Editor::Prompt);
    el_set(line, EL_GETCFN, &Editor::GetChar);
    el_set(line, EL_ADDFN, "qorn-complete", "Complete a path", &Editor::Complete);
    el_set(line, EL_BIND, "^I", "qorn-complete", nullptr);
}

LineReader::~LineReader() {
    if (editor_ != nullptr) el_end(editor_->line);
}

std::optional<TypedLine> LineReader::ReadLine(const AString& prompt, const AString& initial) {
    if (editor_ == nullptr) return ReadPlainLine(prompt, initial);
    editor_->prompt.assign(prompt.c_str(), prompt.length());
    editor_->state = std::mbstate_t{};
    editor_->whole = true;
    editor_->interrupted = false;
    // Given as if typed, so that it can be edited; control characters would
    // be taken as editing commands instead.
    const std::string start(initial.c_str(), initial.length());
    const WString decoded = ToWString(initial);
    if (ToAString(decoded) == initial && !HasControlCharacter(decoded)) el_push(editor_->line, start.c_str());
    int count = 0;
    const char* read = el_gets(editor_->line, &count);
    if (read == nullptr || editor_->interrupted) {
        std::fputc('\n', out_);
        return std::nullopt;
    }
    std::string text(read, static_cast<std::size_t>(count));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return TypedLine{AString(text.c_str(), text.size()), editor_->whole};
}

#else

struct LineReader::Editor {};

LineReader::LineReader(std::FILE* in, std::FILE* out, bool) : in_(in), out_(out) {}

LineReader::~LineReader() = default;

std::optional<TypedLine> LineReader::ReadLine(const AString& prompt, const AString& initial) {
    return ReadPlainLine(prompt, initial);
}

#endif

std::optional<TypedLine> LineReader::ReadPlainLine(const AString& prompt, const AString& initial) {
    std::fputs(prompt.c_str(), out_);
    std::fflush(out_);
    std::string text;
    for (;;) {
        char byte = 0;
        const int got = ReadByte(fileno(in_), &byte);
        if (got < 0 || (got == 0 && text.empty())) {
            std::fputc('\n', out_);
            return std::nullopt;
        }
        if (got == 0 || byte == '\n') break;
        text += byte;
    }
    if (text.empty()) return TypedLine{initial, true};
    return TypedLine{AString(text.c_str(), text.size()), true};
}
