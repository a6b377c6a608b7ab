// Names of table-driven cases in test listings: the case's own `name` with
// every character GoogleTest does not allow in a name turned into "_".
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
    std::string id;
    for (const char* c = info.param.name; *c != '\0'; ++c) id += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return id;
}
