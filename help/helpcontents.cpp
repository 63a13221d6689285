#include "help/helpcontents.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <optional>

namespace HelpContents {

namespace {

/** The Windows code page of a language id's primary language, by its encoding name. */
const char *codePage(quint32 language)
{
    switch (language & 0x3FF) {
    case 0x11: // Japanese
        return "Shift_JIS";
    case 0x12: // Korean
        return "windows-949";
    case 0x04: // Chinese: Taiwan and Hong Kong write Big5, the rest GBK
        return (language == 0x404 || language == 0xC04 || language == 0x1404) ? "Big5" : "GBK";
    case 0x19: // Russian
    case 0x02: // Bulgarian
    case 0x22: // Ukrainian
        return "windows-1251";
    case 0x08: // Greek
        return "windows-1253";
    case 0x1F: // Turkish
        return "windows-1254";
    default:
        return "windows-1252";
    }
}

QString decodeWith(const char *encoding, const QByteArray &bytes)
{
    QStringDecoder decoder(encoding);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

/** The entities of HTML 4 for the Latin-1 letters and signs, from U+00A0 on. */
constexpr const char *Latin1Entities[] = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

/** An entity's character, or 0 for a name that is none of those known. */
char32_t namedEntity(QStringView name)
{
    static const QHash<QString, char32_t> known = [] {
        QHash<QString, char32_t> table{
            {QStringLiteral("amp"), '&'},       {QStringLiteral("lt"), '<'},        {QStringLiteral("gt"), '>'},
            {QStringLiteral("quot"), '"'},      {QStringLiteral("apos"), '\''},     {QStringLiteral("ndash"), 0x2013},
            {QStringLiteral("mdash"), 0x2014},  {QStringLiteral("lsquo"), 0x2018},  {QStringLiteral("rsquo"), 0x2019},
            {QStringLiteral("ldquo"), 0x201C},  {QStringLiteral("rdquo"), 0x201D},  {QStringLiteral("bull"), 0x2022},
            {QStringLiteral("hellip"), 0x2026}, {QStringLiteral("trade"), 0x2122},  {QStringLiteral("euro"), 0x20AC},
            {QStringLiteral("OElig"), 0x152},   {QStringLiteral("oelig"), 0x153},   {QStringLiteral("Scaron"), 0x160},
            {QStringLiteral("scaron"), 0x161},  {QStringLiteral("Yuml"), 0x178},    {QStringLiteral("fnof"), 0x192},
            {QStringLiteral("dagger"), 0x2020}, {QStringLiteral("Dagger"), 0x2021}, {QStringLiteral("permil"), 0x2030},
            {QStringLiteral("lsaquo"), 0x2039}, {QStringLiteral("rsaquo"), 0x203A}, {QStringLiteral("sbquo"), 0x201A},
            {QStringLiteral("bdquo"), 0x201E},  {QStringLiteral("circ"), 0x2C6},    {QStringLiteral("tilde"), 0x2DC},
        };
        for (char32_t code = 0xA0; code <= 0xFF; ++code)
            table.insert(QString::fromLatin1(Latin1Entities[code - 0xA0]), code);
        return table;
    }();
    return known.value(name.toString());
}

/**
 * @p text with its entities replaced. Help compilers of single-byte Windows write the bytes of a
 * non-Latin code page as the Latin-1 entities of the same bytes ("&Icirc;&iuml;" for "Оп" in code
 * page 1251), as the system's viewer reads them back: runs of those are taken as bytes of
 * @p encoding, where they make letters of it.
 */
QString unescape(const QString &text, const char *encoding)
{
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-zA-Z][a-zA-Z0-9]*);"));
    QString result;
    QByteArray bytes; // Latin-1 entities waiting to be read in the code page
    const auto flush = [&result, &bytes, encoding] {
        if (bytes.isEmpty())
            return;
        // One decoder for every run: a contents file may hold a hundred thousand of them.
        thread_local const char *name = nullptr;
        thread_local std::optional<QStringDecoder> decoder;
        if (name != encoding) {
            decoder.emplace(encoding);
            name = encoding;
        }
        decoder->resetState();
        const QString letters = decoder->isValid() ? decoder->decode(bytes) : QString();
        result += letters.isEmpty() || decoder->hasError() || letters.contains(QChar::ReplacementCharacter)
            ? QString::fromLatin1(bytes)
            : letters;
        bytes.clear();
    };
    qsizetype last = 0;
    for (const QRegularExpressionMatch &match : entity.globalMatch(text)) {
        if (match.capturedStart() > last)
            flush();
        result += QStringView(text).mid(last, match.capturedStart() - last);
        last = match.capturedEnd();
        const QString name = match.captured(1);
        char32_t code = 0;
        if (name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.mid(1).toUInt();
        else
            code = namedEntity(name);
        if (!name.startsWith(QLatin1Char('#')) && code >= 0xA0 && code <= 0xFF) {
            bytes += char(code);
            continue;
        }
        flush();
        if (code == 0 || code > 0x10FFFF)
            result += match.captured(0);
        else
            result += QString::fromUcs4(&code, 1);
    }
    flush();
    result += QStringView(text).mid(last);
    return result;
}

QString attribute(const QString &attributes, const QString &name, const char *encoding)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"re(([A-Za-z_:][-A-Za-z0-9_:.]*)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))re"));
    for (const QRegularExpressionMatch &match : pattern.globalMatch(attributes)) {
        if (match.captured(1).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        for (int group = 2; group <= 4; ++group) {
            if (match.capturedStart(group) >= 0)
                return unescape(match.captured(group), encoding);
        }
    }
    return {};
}

} // namespace

QList<HelpTopic> parse(const QString &sitemap, QString *problem, quint32 language)
{
    const char *encoding = codePage(language);
    static const QRegularExpression tag(QStringLiteral(R"re(<(/?)([A-Za-z]+)([^>]*)>)re"));
    QList<HelpTopic> roots;
    // The open lists, outermost first: each holds the entries made inside it; a list opened after an
    // entry holds its sub-entries. A list opened below MaxDepth stands for the one it is in.
    QList<QList<HelpTopic> *> lists;
    QList<HelpTopic> *current = &roots;
    bool inObject = false;
    HelpTopic entry;
    int depth = 0;
    int entries = 0;
    const auto cut = [problem](const QString &why) {
        if (problem && problem->isEmpty())
            *problem = why;
    };
    for (const QRegularExpressionMatch &match : tag.globalMatch(sitemap)) {
        const bool closing = !match.captured(1).isEmpty();
        const QString name = match.captured(2).toLower();
        if (name == QLatin1String("ul")) {
            if (!closing) {
                // The outermost list holds the top entries; a nested one belongs to the entry before it.
                ++depth;
                if (depth > 1) {
                    lists.append(current);
                    if (depth > MaxDepth)
                        cut(QStringLiteral("the contents nest deeper than %1 levels").arg(MaxDepth));
                    else if (!current->isEmpty())
                        current = &current->last().children;
                }
            } else if (depth > 0) {
                --depth;
                if (!lists.isEmpty())
                    current = lists.takeLast();
            }
        } else if (name == QLatin1String("object")) {
            if (!closing) {
                inObject = attribute(match.captured(3), QStringLiteral("type"), encoding)
                               .compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0;
                entry = HelpTopic();
            } else if (inObject) {
                inObject = false;
                if (entry.name.isEmpty() && entry.local.isEmpty())
                    continue;
                if (++entries > MaxEntries) {
                    cut(QStringLiteral("the contents hold more than %1 entries").arg(MaxEntries));
                    break;
                }
                current->append(entry);
            }
        } else if (name == QLatin1String("param") && inObject) {
            const QString attributes = match.captured(3);
            const QString param = attribute(attributes, QStringLiteral("name"), encoding);
            if (param.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 && entry.name.isEmpty())
                entry.name = attribute(attributes, QStringLiteral("value"), encoding);
            else if (param.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0 && entry.local.isEmpty())
                entry.local = attribute(attributes, QStringLiteral("value"), encoding);
        }
    }
    return roots;
}

QString decode(const QByteArray &bytes, quint32 language)
{
    QStringDecoder named = QStringDecoder::decoderForHtml(bytes);
    // Without a meta line or a byte-order mark Qt guesses UTF-8; a help file's own code page is the better guess.
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?[A-Za-z0-9_-]+"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(1024));
    const bool declared = charset.match(head).hasMatch() || bytes.startsWith("\xEF\xBB\xBF") ||
        bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (declared && named.isValid())
        return named.decode(bytes);
    return decodeWith(codePage(language), bytes);
}

QString decodeAnsi(const QByteArray &bytes, quint32 language)
{
    const qsizetype end = bytes.indexOf('\0');
    return decodeWith(codePage(language), end < 0 ? bytes : bytes.left(end));
}

QString topicPath(const QString &local, const QString &base)
{
    QString path = local.trimmed();
    // A link into the help file itself: "ms-its:Horavista.chm::/index.html" or "Horavista.chm::/index.html".
    const qsizetype inside = path.indexOf(QLatin1String("::"));
    if (inside >= 0)
        path = path.mid(inside + 2);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty())
        return path;
    QString fragment;
    if (const qsizetype hash = path.indexOf(QLatin1Char('#')); hash >= 0) {
        fragment = path.mid(hash);
        path.truncate(hash);
    }
    // Names are written URL-encoded ("page%201.html"), and relative to the folder of the file that names them.
    path = QUrl::fromPercentEncoding(path.toUtf8());
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(base.left(base.lastIndexOf(QLatin1Char('/')) + 1));
    QStringList parts;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != QLatin1String(".")) {
            parts.append(part);
        }
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/')) + fragment;
}

} // namespace HelpContents
