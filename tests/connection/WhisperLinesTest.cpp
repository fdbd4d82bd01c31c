// A chat message in as many whispers as the server's longest line asks for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "connection/WhisperLines.h"

using namespace tesk;

TEST(WhisperLines, AMessageIsCutAtSpacesOrBetweenCharactersToFitTheLongestLine) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* what;
        const char* message;
        std::size_t longest;  // "/w bob " takes 7 of them
        Lines expected;
    } cases[] = {
        {"no limit", "hi there", 0, {"/w bob hi there"}},
        {"exactly the longest line", "hi there", 15, {"/w bob hi there"}},
        {"at the last space that fits", "aaa bbb ccc", 14, {"/w bob aaa bbb", "/w bob ccc"}},
        {"the spaces at a cut go with it", "aaa   bbb", 11, {"/w bob aaa", "/w bob bbb"}},
        {"a long word between characters",
         "abcdefghij",
         11,
         {"/w bob abcd", "/w bob efgh", "/w bob ij"}},
        {"never inside a character", "abc\xC3\xA9z", 11, {"/w bob abc", "/w bob \xC3\xA9z"}},
        {"a character longer than the room goes whole",
         "\xF0\x9F\x98\x80\xF0\x9F\x98\x80",
         9,
         {"/w bob \xF0\x9F\x98\x80", "/w bob \xF0\x9F\x98\x80"}},
        {"a name that leaves no room", "ab", 5, {"/w bob a", "/w bob b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(whisperLines("bob", c.message, c.longest), c.expected) << c.what;
    }
}
