// The pictures of the main window: the twelve 16 x 16 menu images and the
// buy-now button, drawn in code so that no image file has to travel along.
#pragma once

#include <QPixmap>

namespace cn {

// 0 Graph, 1 Stat Plot/Regression, 2 Intersect, 3 Get Domain, 4 Get Range,
// 5 Get Minimum, 6 Get Maximum, 7 Copy Graph, 8 Print, 9 Exit, 10 About,
// 11 Buy for $10.
QPixmap MenuImage(int index);

// 147 x 47 pixels.
QPixmap BuyNowImage();

}  // namespace cn
