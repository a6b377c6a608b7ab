#include "ToolText.h"

#include <langinfo.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>

#include "Commands.h"
#include "text/Convert.h"
#include "text/VisibleText.h"

void UseUtf8Conversions() {
    std::setlocale(LC_ALL, "");
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) return;
    // Kit names are Unicode; in a non-UTF-8 environment they are taken as UTF-8.
    ::setenv("LC_ALL", "C.UTF-8", 1);
    std::setlocale(LC_ALL, "");
}

WString ToKitText(const std::string& text) { return ToWString(AString(text.c_str(), text.size())); }

std::string FromKitText(const WString& text) {
    const AString converted = ToAString(text);
    return std::string(converted.c_str(), converted.length());
}

bool IsConvertible(const std::string& text) {
    return text.find('\0') == std::string::npos && FromKitText(ToKitText(text)) == text;
}

std::string FormatIsoTime(FileTime time) {
    const std::time_t seconds = static_cast<std::time_t>(UnixSecondsFromFileTime(time));
    std::tm parts {};
    char text[64] = "unknown time";
    if (::gmtime_r(&seconds, &parts) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string DescribeError(ErrorCode code) {
    switch (code) {
        case ERR_FILE_NOT_FOUND: return "no such file or directory";
        case ERR_PATH_NOT_FOUND: return "the directory cannot be created";
        case ERR_INVALID_HANDLE: return "the file is not open";
        case ERR_INVALID_DATA: return "damaged kit";
        case ERR_INVALID_PARAMETER: return "system error (permission or similar)";
        case ERR_DISK_FULL: return "not enough free space";
        case ERR_FILE_TOO_LARGE: return "the file size limit of this session (ulimit -f) is reached";
        case ERR_CANT_WRITE: return "cannot create or write a temporary file";
        default: return "error " + std::to_string(code);
    }
}

std::string ShownText(const std::string& text) {
    if (IsConvertible(text)) return FromKitText(Visible(ToKitText(text)));
    std::string shown;
    for (const char c : text) {
        const char16_t unit = static_cast<unsigned char>(c);
        shown += unit >= 0x80 ? std::string("?") : FromKitText(Visible(WString(&unit, 1)));
    }
    return shown;
}

int Fail(const std::string& message) {
    // Messages name files and kit entries: what they hold is shown, not sent to the terminal.
    std::cerr << "efdkit: " << ShownText(message) << "\n";
    return kExitFailure;
}
