#pragma once

#include <QRect>
#include <cmath>

// Dialog geometry is designed in twips (1/1440 inch) from the top left corner of a window's inner
// area. On screen a twip is 1/15 of a device-independent pixel; both corners of a rectangle are
// rounded, so adjoining rectangles stay adjoining.
namespace Twips {

inline constexpr int PerPixel = 15;

inline int toPixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / PerPixel));
}

inline QRect rect(int left, int top, int width, int height)
{
    const int x = toPixels(left);
    const int y = toPixels(top);
    return {x, y, toPixels(left + width) - x, toPixels(top + height) - y};
}

} // namespace Twips
