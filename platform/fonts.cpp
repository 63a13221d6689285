#include "platform/fonts.h"

#include <QStringList>

namespace Fonts {

QString sansSerif()
{
    return QStringLiteral("MS Reference Sans Serif");
}

QString japaneseGothic()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void install()
{
    // Nearest installed matches first: the design fonts exist on Windows only.
    QFont::insertSubstitutions(sansSerif(),
                               {QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("IPAPGothic")});
    QFont::insertSubstitutions(japaneseGothic(),
                               {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans CJK JP")});
}

QFont font(const QString &family, qreal pointSize)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    return f;
}

} // namespace Fonts
