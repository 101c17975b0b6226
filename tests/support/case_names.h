#pragma once

#include <cctype>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

// Table rows print as something a person recognises, so test lists and failures say which row
// it is instead of dumping the row's bytes. Control characters are escaped: the text becomes
// part of the test's name.
namespace casenames {

inline std::string visible(std::string_view s, size_t max = 48) {
    std::string out;
    for (const char c : s.substr(0, max)) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20 || u == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else {
            out += c;
        }
    }
    if (s.size() > max) out += "...";
    return out;
}

// Rows that carry their own name.
template <class Row>
requires requires(const Row& r) {
    std::string_view(r.name);
}
void PrintTo(const Row& r, std::ostream* os) {
    *os << visible(r.name, 80);
}

// Names each instance of a parameterised test by its row's own name.
inline constexpr auto byName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace casenames
