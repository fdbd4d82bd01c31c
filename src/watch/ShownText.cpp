#include "watch/ShownText.h"

#include <QList>

namespace tesk {

namespace {

constexpr char16_t kControlPictures = 0x2400;
constexpr char16_t kDeletePicture = 0x2421;
constexpr char16_t kWordJoiner = 0x2060;

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

bool isBidiControl(char32_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

void appendHex(std::string& out, const char* prefix, char32_t c, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    out += prefix;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += kDigits[(c >> shift) & 0xF];
    }
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::size_t keptLength(std::string_view bytes, std::size_t maxBytes) {
    if (bytes.size() <= maxBytes) {
        return bytes.size();
    }
    std::size_t length = maxBytes;
    while (length > 0 && isContinuationByte(bytes[length])) {
        --length;
    }
    return length;
}

QString shownText(std::string_view bytes, std::size_t maxBytes) {
    const std::size_t kept = keptLength(bytes, maxBytes);
    QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(kept));
    for (QChar& c : text) {
        if (c.unicode() < 0x20) {
            c = QChar(kControlPictures + c.unicode());
        } else if (c.unicode() == 0x7F) {
            c = QChar(kDeletePicture);
        }
    }
    if (kept < bytes.size()) {
        text += kCutMark;
    }
    return text;
}

std::string terminalText(std::string_view bytes) {
    const QString decoded = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    std::string out;
    out.reserve(bytes.size());
    for (const char32_t c : decoded.toUcs4()) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += '\t';
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            appendHex(out, "\\x", c, 2);
        } else if (isBidiControl(c)) {
            appendHex(out, "\\u", c, 4);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

QString plainToolTip(const QString& text) {
    QString tip;
    tip.reserve(text.size() + 8);
    for (const QChar c : text) {
        tip += c;
        if (c == u'<' || c == u'&') {
            tip += QChar(kWordJoiner);
        }
    }
    return tip;
}

}  // namespace tesk
