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
/** The pixels of all the pictures one page shows: a help page's pictures are small screenshots. */
inline constexpr qint64 MaxPicturePixels = 4'000'000;

/**
 * Text whose layout costs grow faster than its length. The line breaker passes over a word that
 * does not fit once for every line it fills, and the shaper over a letter's accents likewise;
 * each change of writing direction in a paragraph splits it into runs laid out one by one. A help
 * page has words of some dozens of letters, a letter two accents at most, and a few changes of
 * direction where a right-to-left text quotes a name.
 */
inline constexpr int MaxWordLength = 4000;
inline constexpr int MaxCombiningMarks = 32;
inline constexpr int MaxDirectionChanges = 2000;

/**
 * Style sheets per page: Qt matches every rule against every element, so their product is what a
 * page's style costs; a help file's sheet has a few dozen rules, a generated one some hundreds.
 */
inline constexpr int MaxStyleSheets = 16;
inline constexpr qsizetype MaxStyleBytes = 256 * 1024;
inline constexpr int MaxImportDepth = 4;
inline constexpr int MaxRules = 2000;
inline constexpr qint64 MaxRuleWork = 2'000'000;

/** What a page costs to lay out, as far as it was counted: the reason it is not shown, if any. */
struct Measure
{
    QString problem;
    int tags = 0;
    /** The rules of the page's own <style> elements. */
    int rules = 0;
};

Measure measure(const QByteArray &page);

/** Why @p page is not shown, or an empty string when it can be. */
inline QString problem(const QByteArray &page)
{
    return measure(page).problem;
}

/** Why the text of @p page, decoded, costs too much to lay out; an empty string when it does not. */
QString textProblem(const QString &page);

/** The rules of a style sheet, counted by their blocks and imports; at-rules' blocks count too. */
int ruleCount(QStringView css);

/** How many rules a page of @p tags elements may have in all its style sheets together. */
int ruleBudget(int tags);

} // namespace HelpPage
