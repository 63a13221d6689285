#include "forms/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace Twips {

int roundHalfEven(double value)
{
    // The default floating-point rounding mode rounds a half to the even neighbour.
    return static_cast<int>(std::nearbyint(value));
}

int pixelTwips(double logicalDpi)
{
    if (!(logicalDpi > 0.0))
        return 15;
    return roundHalfEven(PerInch / logicalDpi);
}

int pixelTwipsOf(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return pixelTwips(screen ? screen->logicalDotsPerInchX() : 96.0);
}

int toPixels(double twips, int pixelTwips)
{
    return roundHalfEven(twips / pixelTwips);
}

QRect toPixels(const QRect &twips, int pixelTwips)
{
    return {toPixels(twips.x(), pixelTwips), toPixels(twips.y(), pixelTwips), toPixels(twips.width(), pixelTwips),
            toPixels(twips.height(), pixelTwips)};
}

} // namespace Twips
