#pragma once

#include <cstddef>
#include <cstdint>

namespace tesk::images {

// One picture of ImageList.h at one size: size x size premultiplied ARGB pixels, row by
// row, in read-only memory.
struct PaintedPicture {
    int index;
    int size;
    const std::uint32_t* pixels;
};

// Every picture at every size it was painted at. Written at build time by make-assets.
extern const PaintedPicture kPaintedPictures[];
extern const std::size_t kPaintedPictureCount;

}  // namespace tesk::images
