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
    // Nearest installed matches first: the design fonts exist on Windows only. The condensed face
    // keeps every caption whole in its designed box ("Summer+Time" in 1320 twips at 9 points).
    QFont::insertSubstitutions(sansSerif(),
                               {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
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
