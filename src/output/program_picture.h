// The program's picture: a small graph paper with two curves. The About
// window shows it at 64 x 64; the desktop icons are rendered from it too.
#pragma once

#include <QImage>

namespace cn {

// A square picture of `size` pixels (at least 1), transparent around the
// rounded paper.
QImage ProgramPicture(int size);

}  // namespace cn
