#pragma once

#include <QRect>
#include <cmath>

// Window geometry is designed in twips (1/1440 inch) from the top left corner of a window's inner
// area. On screen a twip is 1/15 of a device-independent pixel (Qt's logical pixels, 96 to the
// inch whatever the display's scale factor); both corners of a rectangle are rounded, so adjoining
// rectangles stay adjoining.
namespace Twips {

inline constexpr int PerPixel = 15;

inline int toPixels(double twips)
{
    return static_cast<int>(std::lround(twips / PerPixel));
}

inline QRect rect(double left, double top, double width, double height)
{
    const int x = toPixels(left);
    const int y = toPixels(top);
    return {x, y, toPixels(left + width) - x, toPixels(top + height) - y};
}

} // namespace Twips
