#pragma once

#include <QIcon>
#include <QPixmap>

// The program's small pictures: the tool bar, the tray, the watch list states and the
// window icons all come from this list. They are painted at build time (make-assets) at
// the sizes below and compiled in as pixels, which the pixmaps share: the program neither
// paints them nor keeps copies of its own.
namespace tesk::images {

constexpr int kCount = 15;

// The sizes every picture is painted at, and those of the program's icon.
constexpr int kPictureSizes[] = {16, 32};
constexpr int kApplicationIconSizes[] = {16, 32, 48, 64, 128};

// Picture indexes, in list order.
enum Index : int {
    kUser = 0,         // head and shoulders
    kSheet = 1,        // sheet of paper with a star
    kUserBadge = 2,    // head and shoulders with a badge; the program's icon
    kBin = 3,          // waste bin
    kTools = 4,        // wrench
    kCheckList = 5,    // list with check marks
    kGlobeScreen = 6,  // globe in front of a screen
    kInfo = 7,         // blue circle with "i"
    kSquareGrey = 8,   // state squares
    kSquareGreen = 9,
    kSquareYellow = 10,
    kSquareRed = 11,
    kSquareUnknown = 12,  // grey square with a question mark
    kEnvelope = 13,
    kMagnifier = 14,
};

// The picture at `index` as a size x size pixmap; a null pixmap for an index outside
// 0..kCount-1 or a size below 1. A size that was not painted is scaled from the nearest
// larger one. Pixmaps are cached per index and size (GUI thread only).
QPixmap pixmap(int index, int size = 16);

// The picture at `index` with 16 and 32 px sizes; a null icon for an index out of range.
QIcon icon(int index);

// The program's icon (the kUserBadge picture) at kApplicationIconSizes.
QIcon applicationIcon();

}  // namespace tesk::images
