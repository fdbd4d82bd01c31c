#include "settings/PasswordScrambler.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace tesk {
namespace {

constexpr std::string_view kKey = "Wz4kLm8QpT2vXa6N";
constexpr char kEscapedMark = '~';
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool isAsciiPassword(const std::string& plain) {
    return std::all_of(plain.begin(), plain.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x01 && byte <= 0x7F;
    });
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string fromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return {};
    }
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexValue(hex[i]);
        const int low = hexValue(hex[i + 1]);
        if (high < 0 || low < 0) {
            return {};
        }
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

}  // namespace

std::string scramblePassword(const std::string& text) {
    std::string result = text;
    std::size_t keyPosition = 0;
    for (char& c : result) {
        c = static_cast<char>(c ^ kKey[keyPosition]);
        keyPosition = keyPosition == kKey.size() - 1 ? 0 : keyPosition + 1;
    }
    for (char& c : result) {
        c = static_cast<char>(~c);
    }
    return result;
}

std::string encodeStoredPassword(const std::string& plain) {
    const std::string scrambled = scramblePassword(plain);
    if (isAsciiPassword(plain)) {
        return scrambled;
    }
    std::string stored(1, kEscapedMark);
    stored.reserve(1 + 2 * scrambled.size());
    for (const char c : scrambled) {
        const auto byte = static_cast<unsigned char>(c);
        stored.push_back(kHexDigits[byte >> 4]);
        stored.push_back(kHexDigits[byte & 0x0F]);
    }
    return stored;
}

std::string decodeStoredPassword(const std::string& stored) {
    if (stored.empty()) {
        return {};
    }
    if (static_cast<unsigned char>(stored.front()) >= 0x80) {
        return scramblePassword(stored);
    }
    if (stored.front() != kEscapedMark) {
        return {};
    }
    return scramblePassword(fromHex(std::string_view(stored).substr(1)));
}

}  // namespace tesk
