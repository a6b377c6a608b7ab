// Text helpers of efdkit: the crossing between command-line bytes and the
// kit's UTF-16 strings, kit times as ISO-8601, and plain reasons for codes.
#pragma once

#include <string>

#include "platform/ErrorCode.h"
#include "platform/File.h"
#include "text/WString.h"

// Makes conversions run in UTF-8 when the environment's locale is not.
void UseUtf8Conversions();

WString ToKitText(const std::string& text);
std::string FromKitText(const WString& text);
// True when `text` survives the trip to UTF-16 and back unchanged.
bool IsConvertible(const std::string& text);

// "2024-05-01T10:00:00Z" (whole seconds, UTC).
std::string FormatIsoTime(FileTime time);

// What a result code of the platform layer or the kit reader means.
std::string DescribeError(ErrorCode code);

// `text` (UTF-8, or bytes that are not) as a terminal may show it: control
// characters as cat -v shows them; in text that is not UTF-8, every byte
// outside ASCII as "?".
std::string ShownText(const std::string& text);

// Prints "efdkit: <message>" (as ShownText) on standard error and returns kExitFailure.
int Fail(const std::string& message);
