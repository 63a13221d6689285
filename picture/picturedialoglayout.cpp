#include "picture/setimglayout.h"

#include "platform/fonts.h"

namespace SetImgLayout {

QFont defaultFont()
{
    return Fonts::font(Fonts::sansSerif(), 9);
}

QFont controlFont()
{
    return Fonts::font(Fonts::japaneseGothic(), 9);
}

} // namespace SetImgLayout
