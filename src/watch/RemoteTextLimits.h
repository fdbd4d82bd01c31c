#pragma once

#include <chrono>
#include <cstddef>

namespace tesk {

// What text and windows that arrive from the network may cost at most, in one place.
// Tests inject smaller ones.
struct RemoteTextLimits {
    // One displayed line (a console line, a paragraph, a column or tip line) is cut
    // after this many bytes, with a visible mark.
    static constexpr std::size_t kShownLineBytes = 4 * 1024;

    std::size_t shownLineBytes = kShownLineBytes;
    // The console's log, while hidden and while shown.
    int consoleLines = 50000;
    std::size_t consoleBytes = 16 * 1024 * 1024;
    // One chat or statistics window's transcript.
    std::size_t transcriptBytes = 1024 * 1024;
    // Chat windows that whispers from names not on the watch list may open per period;
    // later new partners are held, up to a number of partners and bytes of text in all.
    int strangerWindows = 5;
    std::chrono::milliseconds strangerPeriod{60000};
    int heldPartners = 100;
    std::size_t heldBytes = 1024 * 1024;
};

}  // namespace tesk
