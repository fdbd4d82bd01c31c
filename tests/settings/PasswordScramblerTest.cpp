#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <string>
#include <vector>

#include "settings/IniFile.h"
#include "settings/PasswordScrambler.h"

using tesk::decodeStoredPassword;
using tesk::encodeStoredPassword;
using tesk::scramblePassword;

namespace {

// Every byte value at every one of the 16 key positions.
std::string everyByteAtEveryKeyPosition() {
    std::string text;
    for (int value = 0; value < 256; ++value) {
        text.append(16, static_cast<char>(value));
    }
    return text;
}

}  // namespace

TEST(ScramblePassword, MatchesKnownBytes) {
    EXPECT_EQ(scramblePassword("secret"), "\xDB\xE0\xA8\xE6\xD6\xE6");
    EXPECT_EQ(scramblePassword(""), "");
}

TEST(ScramblePassword, KeyBytesBecome0xFFAndTheSeventeenthByteReusesKeyPositionZero) {
    EXPECT_EQ(scramblePassword("Wz4kLm8QpT2vXa6NW"), std::string(17, '\xFF'));

    const std::string scrambled = scramblePassword(std::string(17, 'a'));
    ASSERT_EQ(scrambled.size(), 17u);
    EXPECT_EQ(scrambled[16], scrambled[0]);
    EXPECT_NE(scrambled[15], scrambled[0]);
}

TEST(ScramblePassword, IsItsOwnInverseAndChangesEveryByte) {
    const std::string text = everyByteAtEveryKeyPosition();
    const std::string scrambled = scramblePassword(text);
    ASSERT_EQ(scrambled.size(), text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        ASSERT_NE(scrambled[i], text[i]) << "byte " << i;
    }
    EXPECT_EQ(scramblePassword(scrambled), text);
}

TEST(StoredPassword, AsciiPasswordsAreStoredAsTheirRawScramble) {
    for (const std::string plain : {"secret", "\x01\x7F", "Wz4kLm8QpT2vXa6N x=y"}) {
        const std::string stored = encodeStoredPassword(plain);
        EXPECT_EQ(stored, scramblePassword(plain));
        for (const char c : stored) {
            EXPECT_GE(static_cast<unsigned char>(c), 0x80);
        }
        EXPECT_EQ(decodeStoredPassword(stored), plain);
    }
    EXPECT_EQ(encodeStoredPassword(""), "");
    EXPECT_EQ(decodeStoredPassword(""), "");
}

TEST(StoredPassword, OtherPasswordsAreEscapedIntoSafeBytesAndRoundTrip) {
    const std::vector<std::string> passwords = {
        "p\xC3\xA4sswort",         // UTF-8 text
        "\xA8",                    // scrambles to NUL
        "\xA2",                    // scrambles to LF
        std::string("ab\0cd", 5),  // NUL inside
        everyByteAtEveryKeyPosition(),
    };
    for (const std::string& plain : passwords) {
        const std::string stored = encodeStoredPassword(plain);
        ASSERT_FALSE(stored.empty());
        EXPECT_LT(static_cast<unsigned char>(stored.front()), 0x80);
        EXPECT_EQ(stored.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
        EXPECT_EQ(decodeStoredPassword(stored), plain);
    }
}

TEST(StoredPassword, MalformedEscapedValuesDecodeToEmpty) {
    for (const std::string stored : {"~", "~A", "~ZZ", "~0g", "plain", "x41", " ~00"}) {
        EXPECT_EQ(decodeStoredPassword(stored), "") << stored;
    }
    EXPECT_EQ(decodeStoredPassword("~dbe0"), decodeStoredPassword("~DBE0"));
}

TEST(StoredPassword, SurvivesTheConfigurationFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Tesk.ini");
    std::string allBytes;
    for (int value = 1; value < 256; ++value) {
        allBytes.push_back(static_cast<char>(value));
    }
    const std::vector<std::string> passwords = {"", "secret", "x=y z", "\xA2\xA8", allBytes};
    for (const std::string& plain : passwords) {
        tesk::IniFile writer(path);
        writer.writeString("Settings", "Password", encodeStoredPassword(plain));
        writer.writeString("Settings", "User", "me");
        ASSERT_TRUE(writer.flush());

        const tesk::IniFile reader(path);
        EXPECT_EQ(decodeStoredPassword(reader.readString("Settings", "Password", "")), plain);
        EXPECT_EQ(reader.readString("Settings", "User", ""), "me");
    }
}
