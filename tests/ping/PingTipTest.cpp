#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ping/PingTip.h"

using tesk::withPingPart;

namespace {

struct TipCase {
    const char* name;
    const char* tip;
    const char* pingText;
    const char* expected;
};

void PrintTo(const TipCase& c, std::ostream* out) {
    *out << c.name;
}

class PingTip : public ::testing::TestWithParam<TipCase> {};

}  // namespace

TEST_P(PingTip, ReplacesThePartByTheCountRule) {
    const TipCase& c = GetParam();
    EXPECT_EQ(withPingPart(c.tip, c.pingText), c.expected) << "tip \"" << c.tip << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, PingTip,
    ::testing::Values(
        // The tips the program builds: the old part ends the tip and goes as a whole.
        TipCase{"FirstPart", "TESK: Online", "42ms", "TESK: Online (42ms) "},
        TipCase{"NewTime", "TESK: Online (42ms) ", "40ms", "TESK: Online (40ms) "},
        TipCase{"TimeAfterDots", "TESK: Online (...) ", "7ms", "TESK: Online (7ms) "},
        TipCase{"DotsAfterTime", "TESK: Online (1234ms) ", "...", "TESK: Online (...) "},
        TipCase{"Notice", "TESK: User bob is online (5ms) ", "6ms",
                "TESK: User bob is online (6ms) "},
        TipCase{"EmptyTip", "", "...", " (...) "},
        // No " (": nothing is cut.
        TipCase{"NoOpening", "TESK: x) y", "1ms", "TESK: x) y (1ms) "},
        TipCase{"OpeningWithoutSpace", "TESK:(5ms) ", "1ms", "TESK:(5ms)  (1ms) "},
        // No ") ": nothing is cut.
        TipCase{"ClosingAtTheEnd", "TESK: Online (42ms)", "1ms", "TESK: Online (42ms) (1ms) "},
        TipCase{"NoClosing", "a (b", "1ms", "a (b (1ms) "},
        // ") " before " (": cut from " (" as many as the position of ") ".
        TipCase{"ClosingFirst", "x) y (z", "1ms", "x) yz (1ms) "},
        TipCase{"ClosingFirstLater", "ab) c (defg", "1ms", "ab) cefg (1ms) "},
        // The part in the middle: the count runs from the tip's start, so the cut goes
        // past the part by one less than the position of " (".
        TipCase{"PartAfterOneCharacter", "A (1ms) bcdefghij", "2ms", "Abcdefghij (2ms) "},
        TipCase{"PartInTheMiddle", "TESK: (9ms) Online", "2ms", "TESK:ne (2ms) "},
        // Only the first " (" and the first ") " count.
        TipCase{"TwoParts", "a (1) (2) ", "3", "a(2)  (3) "}),
    [](const ::testing::TestParamInfo<TipCase>& info) { return std::string(info.param.name); });
