#pragma once

// The harnesses check invariants, not only the absence of crashes: a broken
// one prints the input in a form that can be pasted back, then aborts so
// libFuzzer keeps the reproducer.

#include <cstdio>
#include <cstdlib>
#include <string_view>

[[noreturn]] inline void fail(const char *what, std::string_view input)
{
    std::fprintf(stderr, "invariant broken: %s\ninput (%zu bytes): \"", what, input.size());
    for (unsigned char c : input) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
            std::fputc(c, stderr);
        else
            std::fprintf(stderr, "\\x%02X", c);
    }
    std::fputs("\"\n", stderr);
    std::abort();
}

#define CHECK(condition, input)                                                                              \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            fail(#condition, input);                                                                         \
    } while (0)
