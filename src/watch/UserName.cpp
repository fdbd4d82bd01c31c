#include "watch/UserName.h"

#include <QString>
#include <algorithm>

namespace tesk {

namespace {

bool isUpper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(unsigned char c) { return c >= 'a' && c <= 'z'; }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Sort weight of one byte, ignoring case: punctuation and symbols before digits, digits
// before letters, and bytes of non-ASCII characters after all of them.
int weight(unsigned char c) {
    if (isUpper(c)) {
        c = static_cast<unsigned char>(c - 'A' + 'a');
    }
    if (isLower(c)) {
        return 2000 + c;
    }
    if (isDigit(c)) {
        return 1000 + c;
    }
    return c < 0x80 ? c : 3000 + c;
}

}  // namespace

// Most names are ASCII, where lowering each letter gives what Unicode lowering gives
// without converting the name twice; every whois reply and every name loaded at start
// passes here.
std::string lowerCaseName(std::string_view name) {
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) {
        std::string lowered(name);
        for (char& c : lowered) {
            if (isUpper(static_cast<unsigned char>(c))) {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return lowered;
    }
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
        .toLower()
        .toStdString();
}

int compareNames(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int difference = weight(a[i]) - weight(b[i]);
        if (difference != 0) {
            return difference;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    // Equal but for letter case: the first lower-case letter sorts first.
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] != b[i]) {
            return isLower(a[i]) ? -1 : 1;
        }
    }
    return 0;
}

}  // namespace tesk
