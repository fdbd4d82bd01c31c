#include <gtest/gtest.h>

#include "connection/ReplyLines.h"
#include "watch/Products.h"
#include "watch/ServerReplies.h"

using namespace tesk;

TEST(WindowKey, FoldsTheSpecialCharactersAndLetterCase) {
    EXPECT_EQ(windowKey("Tom-Cat.1", "ChatForm"), "_tom_cat_1ChatForm");
    EXPECT_EQ(windowKey("john@Northrend", "StatsForm"), "_john_northrendStatsForm");
    EXPECT_EQ(windowKey("[a](b)#c", "ChatForm"), windowKey("_A__B__C", "ChatForm"));
    EXPECT_EQ(windowKey("", "ChatForm"), "_ChatForm");
}

TEST(WhisperLine, SplitsNameAndTextByPosition) {
    const WhisperLine three = splitWhisperLine("1004 WHISPER bob 0000 \"hi there\"");
    EXPECT_TRUE(three.incoming);
    EXPECT_EQ(three.partner, "bob");
    EXPECT_EQ(three.text, "hi there");
    EXPECT_EQ(std::string("1004 WHISPER bob 0000 \"hi there\"").find('"') + 1, 23u);

    const WhisperLine sent = splitWhisperLine("1010 WHISPER john@northrend 0010 \"a \"quoted\" word\"");
    EXPECT_FALSE(sent.incoming);
    EXPECT_EQ(sent.partner, "john@northrend");
    EXPECT_EQ(sent.text, "a \"quoted\" word");

    EXPECT_EQ(splitWhisperLine("1004 WHISPER bob 0000 \"\"").text, "");
}

TEST(WhisperLine, ShortOrOddLinesGiveEmptyPartsAndNeverCrash) {
    for (const char* line : {"", "1004 WHISPER", "1004 WHISPER bob", "1004 WHISPER \"x\"",
                             "1004 WHISPER b 00 \"x\"", "1004 WHISPER bob 0000 \"", "\""}) {
        const WhisperLine whisper = splitWhisperLine(line);
        EXPECT_TRUE(whisper.partner.size() < 4) << line;
        EXPECT_LE(whisper.text.size(), 1u) << line;
    }
    const WhisperLine noQuote = splitWhisperLine("1004 WHISPER bob 0000 hello");
    EXPECT_EQ(noQuote.partner, "");
    EXPECT_EQ(noQuote.text, "");
}

TEST(StatsReply, FirstLineCarriesTheHeadingAndShortensTheArgument) {
    const StatsReply first = interpretStatsReply("1018 INFO \"Normal games: 10-5-0\"", "alice w2bn");
    EXPECT_EQ(first.name, "alice");
    EXPECT_EQ(first.productCode, "w2bn");
    EXPECT_EQ(statsHeading(*first.productCode), "Warcraft II Battle.net Edition statistics:");
    EXPECT_EQ(first.body, "Normal games: 10-5-0");
    EXPECT_EQ(first.lastArgument, "alice");

    const StatsReply next = interpretStatsReply("1018 INFO \"Ladder: 1-0-0\"", "alice");
    EXPECT_FALSE(next.productCode.has_value());
    EXPECT_EQ(next.body, "Ladder: 1-0-0");

    EXPECT_EQ(interpretStatsReply("1018 INFO \"x\"", "bob foo").productCode, "foo");
    EXPECT_EQ(statsHeading("foo"), "foo statistics:");
    EXPECT_EQ(productName("sexp"), "Starcraft - Brood War");
    EXPECT_EQ(productName("star"), "Starcraft");
    EXPECT_EQ(productName("war3"), "Warcraft III");
}

TEST(StatsReply, RecordLinesAddNothingButTheHeadingStillComes) {
    const StatsReply record = interpretStatsReply("1018 INFO \"alice's record:\"", "alice war3");
    EXPECT_EQ(record.productCode, "war3");
    EXPECT_FALSE(record.body.has_value());
    EXPECT_FALSE(interpretStatsReply("1018 INFO \"Warcraft III: 3 wins\"", "a").body.has_value());
    EXPECT_EQ(interpretStatsReply("no quote here", "a").body, "no quote her");
    EXPECT_EQ(interpretStatsReply("", "a").body, "");
    EXPECT_EQ(interpretStatsReply("1019 ERROR \"", "a").body, "");
}
