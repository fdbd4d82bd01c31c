#pragma once

namespace tesk {

// Large blocks (the console's text, a flood of received lines) are mapped and unmapped on
// their own instead of being carved out of the heap, so memory they no longer need goes
// back to the system at once. Without this, the C library raises its threshold after the
// first large block is freed, and a long flood leaves the heap fragmented and the
// process tens of megabytes bigger than what it holds. Call once, before any thread starts.
void returnLargeBlocksToTheSystem();

}  // namespace tesk
