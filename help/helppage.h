#pragma once

#include <QByteArray>
#include <QString>

/**
 * @brief Whether a help page is one the text browser can lay out in a moment.
 *
 * Qt's rich-text layout costs far more than a page's size suggests: tables nested twenty deep take
 * it a minute (each level lays out the one inside it again), a row of thousands of cells or a page of
 * thousands of pictures seconds. A page beyond these limits, measured on this program's machines to
 * keep any page under a tenth of a second or so, is not shown. Help pages are a few kilobytes, with
 * a table or two and a few pictures.
 */
namespace HelpPage {

inline constexpr qsizetype MaxBytes = 256 * 1024;
inline constexpr int MaxTags = 8000;
inline constexpr int MaxTableDepth = 6;
inline constexpr int MaxNesting = 100;
inline constexpr int MaxCells = 1000;
inline constexpr int MaxPictures = 500;
/** The pixels of all the pictures one help window shows: a help page's pictures are small screenshots. */
inline constexpr qint64 MaxPicturePixels = 4'000'000;

/** Why @p page is not shown, or an empty string when it can be. */
QString problem(const QByteArray &page);

} // namespace HelpPage
