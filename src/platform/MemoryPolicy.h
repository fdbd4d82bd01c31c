#pragma once

namespace tesk {

// Large blocks (the console's text, a flood of received lines) are mapped and unmapped on
// their own instead of being carved out of the heap, so memory they no longer need goes
// back to the system at once. Without this, the C library raises its threshold after the
// first large block is freed, and a long flood leaves the heap fragmented and the
// process tens of megabytes bigger than what it holds. Call once, before any thread starts.
void returnLargeBlocksToTheSystem();

// Hands the heap's free pages back to the system: after a flood's many small lines were
// freed, or the start-up's reading of a long Tesk.ini, they would otherwise stay resident
// between the blocks still in use. It walks the heap, so call it after such a burst only.
void returnFreePagesToTheSystem();

}  // namespace tesk
