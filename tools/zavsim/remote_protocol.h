#pragma once
// The line protocol between zavsim_remote (Linux) and the end-to-end tests built for
// Windows, which cannot host the simulator themselves. One request line, one answer:
//   start ARGS...   -> ok | error TEXT    (zavsim's own options, --ports-dir overridden)
//   requests        -> ok N, then N lines (each request, escaped)
//   wait N MS       -> ok 1 | ok 0        (WaitForRequests)
//   state N         -> ok S               (RunState of coordinate N, as a number)
//   program N       -> ok K, then K lines (coordinate N's stored commands: the mnemonic,
//                                          escaped, and its number when it has one)
//   stop            -> ok
// Closing the connection stops the simulator.

#include <cstdio>
#include <string>

namespace zavsim {

// Bytes outside '!'..'~' and '%' as %XX, so that any request fits on one line.
inline std::string EscapeRequest(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c > ' ' && c <= '~' && c != '%') {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

inline std::string UnescapeRequest(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace zavsim
