// The password scrambling and the two stored forms.
//
// The input is used both as a plain password and as a stored value read from a profile.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Check.h"
#include "settings/IniFile.h"
#include "settings/PasswordScrambler.h"

namespace {

using namespace tesk;

// Passwords up to this length always fit a profile value, in either form.
constexpr std::size_t kLongestKeptPassword = 1000;

bool isAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x01 && byte <= 0x7F;
    });
}

bool isUpperHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

void checkAsPlain(const std::string& plain) {
    const std::string scrambled = scramblePassword(plain);
    FUZZ_CHECK(scrambled.size() == plain.size());
    FUZZ_CHECK(scramblePassword(scrambled) == plain);

    const std::string stored = encodeStoredPassword(plain);
    // Whatever the password, its stored form fits on one profile line.
    FUZZ_CHECK(stored.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    if (plain.empty()) {
        FUZZ_CHECK(stored.empty());
    } else if (isAscii(plain)) {
        FUZZ_CHECK(stored == scrambled);
        FUZZ_CHECK(std::all_of(stored.begin(), stored.end(),
                               [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
    } else {
        FUZZ_CHECK(stored.size() == 1 + 2 * plain.size() && stored[0] == '~');
        FUZZ_CHECK(std::all_of(stored.begin() + 1, stored.end(), isUpperHex));
    }
    FUZZ_CHECK(decodeStoredPassword(stored) == plain);

    // Reading the profile cuts a value at kMaxValueBytes: short passwords survive whole,
    // a cut escaped one reads as a prefix or as nothing.
    const std::string kept = stored.substr(0, IniFile::kMaxValueBytes);
    const std::string decoded = decodeStoredPassword(kept);
    if (plain.size() <= kLongestKeptPassword) {
        FUZZ_CHECK(decoded == plain);
    } else {
        FUZZ_CHECK(plain.compare(0, decoded.size(), decoded) == 0);
    }
}

void checkAsStored(const std::string& stored) {
    const std::string plain = decodeStoredPassword(stored);
    FUZZ_CHECK(plain.size() <= stored.size());
    if (stored.empty() || plain.empty()) {
        return;
    }
    const auto first = static_cast<unsigned char>(stored[0]);
    if (first >= 0x80) {
        FUZZ_CHECK(plain == scramblePassword(stored));
        // A short-form value decoding to ASCII is stored the same way again.
        const bool allHigh = std::all_of(stored.begin(), stored.end(), [](char c) {
            return static_cast<unsigned char>(c) >= 0x80;
        });
        if (allHigh && isAscii(plain)) {
            FUZZ_CHECK(encodeStoredPassword(plain) == stored);
        }
    } else {
        FUZZ_CHECK(stored[0] == '~' && stored.size() == 1 + 2 * plain.size());
        FUZZ_CHECK(decodeStoredPassword(encodeStoredPassword(plain)) == plain);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    checkAsPlain(input);
    checkAsStored(input);
    return 0;
}
