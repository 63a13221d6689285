#include "help/helppage.h"

#include <QStringList>

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

/** Whether the line breaker may break next to @p c whatever is around it: spaces, and CJK and other wide letters. */
bool breaksAround(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '-' || c == '/' || (c >= 0x2E80 && c < 0xA000) ||
        (c >= 0xAC00 && c < 0xD7B0) || (c >= 0xF900 && c < 0xFB00) || (c >= 0xFF00 && c < 0xFFF0) ||
        (c >= 0x20000 && c < 0x40000);
}

/** Whether the tag that @p tag begins is one of running text, which does not break a line. */
bool isInline(QStringView tag)
{
    if (tag.startsWith(QLatin1Char('/')))
        tag = tag.sliced(1);
    qsizetype end = 0;
    while (end < tag.size() && end < 8 && tag[end].isLetterOrNumber())
        ++end;
    static const QStringList inlineTags{
        QStringLiteral("a"),    QStringLiteral("b"),    QStringLiteral("i"),      QStringLiteral("u"),
        QStringLiteral("s"),    QStringLiteral("em"),   QStringLiteral("strong"), QStringLiteral("span"),
        QStringLiteral("font"), QStringLiteral("code"), QStringLiteral("tt"),     QStringLiteral("small"),
        QStringLiteral("big"),  QStringLiteral("sub"),  QStringLiteral("sup"),    QStringLiteral("strike"),
        QStringLiteral("kbd"),  QStringLiteral("var"),  QStringLiteral("samp"),   QStringLiteral("cite"),
        QStringLiteral("abbr"), QStringLiteral("nobr")};
    return inlineTags.contains(tag.first(end).toString(), Qt::CaseInsensitive);
}

/** The character an entity at @p at stands for, and where it ends; 0 for one that is not a character's. */
char32_t entity(QStringView text, qsizetype at, qsizetype *end)
{
    // The longest name known is a few letters: no further look for its end.
    const qsizetype semicolon = text.sliced(at, qMin(text.size() - at, qsizetype(14))).indexOf(QLatin1Char(';')) + at;
    if (semicolon < at)
        return 0;
    *end = semicolon + 1;
    const QStringView name = text.sliced(at + 1, semicolon - at - 1);
    if (name.startsWith(QLatin1Char('#'))) {
        const bool hex = name.size() > 1 && (name[1] == QLatin1Char('x') || name[1] == QLatin1Char('X'));
        return name.sliced(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
    }
    if (name == QLatin1String("lrm"))
        return 0x200E;
    if (name == QLatin1String("rlm"))
        return 0x200F;
    return 'x';
}

} // namespace

Measure measure(const QByteArray &page)
{
    Measure result;
    if (page.size() > MaxBytes) {
        result.problem = QStringLiteral("larger than %1 bytes").arg(MaxBytes);
        return result;
    }
    // Every tag counts, also inside comments and scripts: that can only err on the side of refusing.
    int cells = 0, pictures = 0, tables = 0, nesting = 0, sheets = 0;
    for (qsizetype at = page.indexOf('<'); at >= 0 && at + 1 < page.size(); at = page.indexOf('<', at + 1)) {
        const bool closing = page[at + 1] == '/';
        qsizetype end = at + (closing ? 2 : 1);
        const qsizetype start = end;
        while (end < page.size() && isLetter(page[end]))
            ++end;
        if (end == start)
            continue;
        const QByteArray name = page.mid(start, end - start).toLower();
        if (++result.tags > MaxTags) {
            result.problem = QStringLiteral("more than %1 tags").arg(MaxTags);
            return result;
        }
        if (!closing && name == "style") {
            // The rules of the page's own style sheet, up to its end tag (or any other).
            const qsizetype close = page.indexOf('<', end);
            result.rules += ruleCount(QString::fromLatin1(page.mid(end, close < 0 ? -1 : close - end)));
        }
        if (!closing && (name == "td" || name == "th") && ++cells > MaxCells)
            result.problem = QStringLiteral("more than %1 table cells").arg(MaxCells);
        if (!closing && name == "link" && ++sheets > MaxStyleSheets)
            result.problem = QStringLiteral("more than %1 linked style sheets").arg(MaxStyleSheets);
        if (!closing && name == "img" && ++pictures > MaxPictures)
            result.problem = QStringLiteral("more than %1 pictures").arg(MaxPictures);
        if (!result.problem.isEmpty())
            return result;
        if (!isContainer(name))
            continue;
        const int step = closing ? -1 : 1;
        nesting = qMax(0, nesting + step);
        if (name == "table")
            tables = qMax(0, tables + step);
        if (tables > MaxTableDepth)
            result.problem = QStringLiteral("tables nested deeper than %1").arg(MaxTableDepth);
        else if (nesting > MaxNesting)
            result.problem = QStringLiteral("nested deeper than %1").arg(MaxNesting);
        if (!result.problem.isEmpty())
            return result;
    }
    if (result.rules > ruleBudget(result.tags))
        result.problem = QStringLiteral("more than %1 style rules").arg(ruleBudget(result.tags));
    return result;
}

QString textProblem(const QString &page)
{
    // The text between the tags, with its entities, as the browser will lay it out.
    int word = 0, marks = 0, changes = 0;
    QChar::Direction last = QChar::DirL;
    bool inTag = false;
    const QStringView text(page);
    for (qsizetype at = 0; at < text.size(); ++at) {
        char32_t c = text[at].unicode();
        if (inTag) {
            inTag = c != '>';
            continue;
        }
        if (c == '<') {
            // A tag of running text breaks no word ("a<b>b</b>" is one); any other does.
            inTag = true;
            if (!isInline(text.sliced(at + 1)))
                word = 0;
            continue;
        }
        if (c == '&') {
            qsizetype end = at;
            if (const char32_t named = entity(text, at, &end)) {
                c = named;
                at = end - 1;
            }
        } else if (QChar::isHighSurrogate(c) && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[at], text[at + 1]);
            ++at;
        }
        word = breaksAround(c) ? 0 : word + 1;
        if (word > MaxWordLength)
            return QStringLiteral("a word longer than %1 letters").arg(MaxWordLength);
        const QChar::Category category = QChar::category(c);
        const bool mark = category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
            category == QChar::Mark_Enclosing;
        marks = mark ? marks + 1 : 0;
        if (marks > MaxCombiningMarks)
            return QStringLiteral("a letter with more than %1 accents").arg(MaxCombiningMarks);
        QChar::Direction direction = QChar::direction(c);
        if (direction == QChar::DirAL)
            direction = QChar::DirR;
        if ((direction == QChar::DirL || direction == QChar::DirR) && direction != last) {
            last = direction;
            if (++changes > MaxDirectionChanges)
                return QStringLiteral("more than %1 changes of writing direction").arg(MaxDirectionChanges);
        }
    }
    return QString();
}

int ruleCount(QStringView css)
{
    return int(css.count(QLatin1Char('{')) + css.count(QLatin1String("@import"), Qt::CaseInsensitive));
}

int ruleBudget(int tags)
{
    return int(qMin(qint64(MaxRules), MaxRuleWork / qMax(1, tags)));
}

} // namespace HelpPage
