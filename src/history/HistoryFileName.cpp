#include "history/HistoryFileName.h"

#include <QByteArray>
#include <QCryptographicHash>

#include "watch/UserName.h"

namespace tesk {

namespace {

constexpr std::size_t kMaxEncodedBytes = 200;
constexpr int kHashHexDigits = 12;

bool keptAsIs(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

std::string historyFileName(std::string_view partner) {
    if (partner.empty()) {
        return {};
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string lowered = lowerCaseName(partner);
    std::string encoded;
    for (const char byte : lowered) {
        const auto c = static_cast<unsigned char>(byte);
        if (keptAsIs(c)) {
            encoded += byte;
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    if (encoded.size() > kMaxEncodedBytes) {
        std::size_t cut = kMaxEncodedBytes;
        // Back to the start of a %XX that the cut would split.
        for (std::size_t back = 1; back <= 2; ++back) {
            if (encoded[kMaxEncodedBytes - back] == '%') {
                cut = kMaxEncodedBytes - back;
            }
        }
        const QByteArray hash =
            QCryptographicHash::hash(QByteArray::fromStdString(lowered), QCryptographicHash::Sha256)
                .toHex()
                .left(kHashHexDigits);
        encoded = encoded.substr(0, cut) + "-" + hash.toStdString();
    }
    return encoded + ".log";
}

}  // namespace tesk
