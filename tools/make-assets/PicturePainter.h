#pragma once

#include <QImage>

namespace makeassets {

// The picture at `index` (the list of ui/ImageList.h) painted on a size x size image in
// premultiplied ARGB. Every picture is drawn on a 16x16 grid and scaled, so it stays
// sharp at 16 px and at the larger sizes; an index outside the list gives a clear image.
QImage paintPicture(int index, int size);

}  // namespace makeassets
