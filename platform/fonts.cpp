#include "platform/fonts.h"

#include <QDebug>
#include <QFontDatabase>
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
    // Nearest installed matches first: the design fonts come with Microsoft's software only. The
    // condensed face keeps every caption whole in its designed box ("Summer+Time" in 1320 twips at 9 points).
    QStringList latin{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("IPAPGothic")};
    // The Japanese fonts that the Debian package may bring, the one it prefers first.
    QStringList japanese{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                         QStringLiteral("VL PGothic"), QStringLiteral("VL Gothic")};
#ifdef Q_OS_WIN
    // Windows' own fonts before the free ones, which serve where it has none of them (as under Wine).
    // Tahoma is the narrow sibling of the design's Latin face. The Japanese faces come with Windows'
    // Japanese fonts, Yu Gothic UI with every Windows 10 and 11.
    latin = QStringList{QStringLiteral("Tahoma"), QStringLiteral("Segoe UI"), QStringLiteral("Microsoft Sans Serif")} +
        latin;
    japanese = QStringList{QStringLiteral("MS UI Gothic"), QStringLiteral("Meiryo"), QStringLiteral("Yu Gothic UI")} +
        japanese;
#endif
    // The Japanese design font under its English name.
    japanese.prepend(QStringLiteral("MS PGothic"));
    QFont::insertSubstitutions(sansSerif(), latin);
    QFont::insertSubstitutions(japaneseGothic(), japanese);

    // Without any font that has Japanese glyphs the Japanese texts show as boxes; the program still runs.
    if (QFontDatabase::families(QFontDatabase::Japanese).isEmpty())
        qWarning("No installed font has Japanese glyphs: the Japanese texts show as boxes");
}

QFont font(const QString &family, qreal pointSize)
{
    QFont f(family);
    f.setPointSizeF(pointSize);
    return f;
}

} // namespace Fonts
