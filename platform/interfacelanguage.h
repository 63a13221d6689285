#pragma once

#include <QStringList>

/**
 * @brief The language of the interface: Japanese, as designed, or English, and the translation that makes it.
 *
 * The texts in the sources are the design's Japanese; the English translation is built into the program
 * (assets/translations). main() puts the desktop's choice in place before it makes a window, so every text
 * made afterwards comes out in that language; city names and the files the program writes are the same in
 * both. The help file follows the interface.
 */
namespace InterfaceLanguage {

enum class Language {
    Japanese, ///< the source texts: no translation
    English,
};

/**
 * The language for the desktop's languages @p uiLanguages, most wanted first (QLocale::uiLanguages()):
 * the first of them that the program speaks, English where none is. Where no language is set ("C", an
 * empty list) the interface is Japanese, as designed.
 */
Language choose(const QStringList &uiLanguages);

/** The language that the desktop's languages choose. */
Language desktop();

/**
 * Puts @p language's translation in place of the one before; false when the translation cannot be
 * loaded, which leaves the interface Japanese and is reported in the log.
 */
bool use(Language language);

/** The help file of the language last used (Japanese before any), a bare name in the working folder. */
QString helpFile();

} // namespace InterfaceLanguage
