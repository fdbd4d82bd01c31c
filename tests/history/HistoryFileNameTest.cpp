#include <gtest/gtest.h>

#include <set>
#include <string>

#include "history/HistoryFileName.h"

using namespace tesk;

TEST(HistoryFileName, AnyNameBecomesOneSafeFileNameOfBoundedLength) {
    const std::string longName(300, 'a');
    const std::string longEscaped(300, '/');
    struct Case {
        std::string name;
        std::string expected;  // empty: only the checks below
    };
    const Case cases[] = {
        {"carol", "carol.log"},
        {"Tom-Cat.1", "tom%2Dcat%2E1.log"},  // lower-cased like every name comparison
        {"TOM-CAT.1", "tom%2Dcat%2E1.log"},
        {"john@northrend", "john%40northrend.log"},
        {"../etc/passwd", "%2E%2E%2Fetc%2Fpasswd.log"},
        {".hidden", "%2Ehidden.log"},
        {std::string("a\nb\x01\x7f", 5) + "c", "a%0Ab%01%7Fc.log"},
        {std::string("nul\0x", 5), "nul%00x.log"},
        {"Ünï", ""},  // lower-cased as text, then its UTF-8 bytes
        {longName, ""},
        {longName + "b", ""},
        {longEscaped, ""},
        {"", ""},
    };
    std::set<std::string> seen;
    for (const Case& c : cases) {
        const std::string file = historyFileName(c.name);
        if (c.name.empty()) {
            EXPECT_EQ(file, "");
            continue;
        }
        if (!c.expected.empty()) {
            EXPECT_EQ(file, c.expected) << c.name;
        }
        EXPECT_LE(file.size(), 200u + 1 + 12 + 4) << c.name;
        EXPECT_EQ(file.substr(file.size() - 4), ".log");
        EXPECT_NE(file[0], '.');
        for (const char byte : file.substr(0, file.size() - 4)) {
            EXPECT_TRUE((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                        (byte >= 'A' && byte <= 'F') || byte == '_' || byte == '%' || byte == '-')
                << c.name;
        }
        seen.insert(file);
    }
    EXPECT_EQ(historyFileName("Ünï"), "%C3%BCn%C3%AF.log");
    // Cut names keep their hash apart, and a cut never splits a %XX.
    EXPECT_NE(historyFileName(longName), historyFileName(longName + "b"));
    const std::string cut = historyFileName(longEscaped);
    EXPECT_EQ(cut.substr(0, cut.find('-')).size() % 3, 0u) << cut;
    EXPECT_EQ(seen.size(), 11u);  // Tom-Cat.1 and TOM-CAT.1 are one partner
}
