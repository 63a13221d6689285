#pragma once

#include <QFont>

/**
 * @brief The fonts that the windows are designed with, and the installed fonts that stand in for them.
 *
 * The forms name their fonts as designed ("MS Reference Sans Serif", "ＭＳ Ｐゴシック"); install()
 * maps those names to the nearest installed fonts, so the code keeps the design's names.
 */
namespace Fonts {

/** The Latin interface font of the forms. */
QString sansSerif();
/** The Japanese proportional interface font of the forms. */
QString japaneseGothic();

/**
 * Registers the substitutes for the design fonts, and says in the log when no installed font has Japanese
 * glyphs; call once after the application object exists.
 */
void install();

QFont font(const QString &family, qreal pointSize);

} // namespace Fonts
