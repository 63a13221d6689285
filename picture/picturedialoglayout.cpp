#include "picture/picturedialoglayout.h"

#include "platform/fonts.h"

namespace PictureDialogLayout {

QFont defaultFont()
{
    return Fonts::font(Fonts::sansSerif(), 9);
}

QFont controlFont()
{
    return Fonts::font(Fonts::japaneseGothic(), 9);
}

} // namespace PictureDialogLayout
