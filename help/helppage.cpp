#include "help/helppage.h"

namespace HelpPage {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

/** Elements whose end tag HTML requires, so that an unclosed one really holds what follows. */
bool isContainer(const QByteArray &name)
{
    return name == "table" || name == "ul" || name == "ol" || name == "dl" || name == "div" || name == "blockquote";
}

} // namespace

QString problem(const QByteArray &page)
{
    if (page.size() > MaxBytes)
        return QStringLiteral("larger than %1 bytes").arg(MaxBytes);
    // Every tag counts, also inside comments and scripts: that can only err on the side of refusing.
    int tags = 0, cells = 0, pictures = 0, tables = 0, nesting = 0;
    for (qsizetype at = page.indexOf('<'); at >= 0 && at + 1 < page.size(); at = page.indexOf('<', at + 1)) {
        const bool closing = page[at + 1] == '/';
        qsizetype end = at + (closing ? 2 : 1);
        const qsizetype start = end;
        while (end < page.size() && isLetter(page[end]))
            ++end;
        if (end == start)
            continue;
        const QByteArray name = page.mid(start, end - start).toLower();
        if (++tags > MaxTags)
            return QStringLiteral("more than %1 tags").arg(MaxTags);
        if (!closing && (name == "td" || name == "th") && ++cells > MaxCells)
            return QStringLiteral("more than %1 table cells").arg(MaxCells);
        if (!closing && name == "img" && ++pictures > MaxPictures)
            return QStringLiteral("more than %1 pictures").arg(MaxPictures);
        if (!isContainer(name))
            continue;
        const int step = closing ? -1 : 1;
        nesting = qMax(0, nesting + step);
        if (name == "table")
            tables = qMax(0, tables + step);
        if (tables > MaxTableDepth)
            return QStringLiteral("tables nested deeper than %1").arg(MaxTableDepth);
        if (nesting > MaxNesting)
            return QStringLiteral("nested deeper than %1").arg(MaxNesting);
    }
    return QString();
}

} // namespace HelpPage
