#pragma once

/**
 * @brief The files the program keeps in its working folder, named without a folder.
 *
 * The launcher chooses the working folder; the program looks for these names there and nowhere else.
 */
namespace WorkingFiles {

inline constexpr char Icon[] = "ico.ico"; ///< the icon of the main window and the clock-settings dialog
inline constexpr char Picture[] = "mainImage.bmp"; ///< the dial picture, written by the picture dialog
inline constexpr char Settings[] = "setTime.properties"; ///< each dial's city and summer time
inline constexpr char Help[] = "Horavista.chm"; ///< the help file of the Japanese interface
inline constexpr char EnglishHelp[] = "Horavista_en.chm"; ///< the help file of the English interface

} // namespace WorkingFiles
