#pragma once

#include <QRect>

#include <array>

class QWidget;

/**
 * @brief Twips (1440 to the inch) and their conversion to device-independent pixels.
 *
 * Every window of the program is laid out in twips. A window works with a whole number of
 * twips per pixel, taken from the screen it opens on; positions are converted one by one.
 */
namespace Twips {

inline constexpr int PerInch = 1440;

/** Nearest whole number, an exact half to the even neighbour. */
int roundHalfEven(double value);

/** Twips per pixel for a screen of @p logicalDpi dots per inch: 15 at 96, 12 at 120. */
int pixelTwips(double logicalDpi);

/** Twips per pixel of the screen that @p widget shows on (or the primary screen). */
int pixelTwipsOf(const QWidget *widget);

int toPixels(double twips, int pixelTwips);
QRect toPixels(const QRect &twips, int pixelTwips);

/** A window's table of twip rectangles as pixel rectangles, each side rounded on its own. */
template <std::size_t N>
std::array<QRect, N> toPixels(const std::array<QRect, N> &twips, int pixelTwips)
{
    std::array<QRect, N> pixels;
    for (std::size_t i = 0; i < N; ++i)
        pixels[i] = toPixels(twips[i], pixelTwips);
    return pixels;
}

} // namespace Twips
