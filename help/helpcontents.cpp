#include "help/helpcontents.h"

#include <QRegularExpression>
#include <QStringDecoder>

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

QString unescape(const QString &text)
{
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-zA-Z]+);"));
    QString result;
    qsizetype last = 0;
    for (const QRegularExpressionMatch &match : entity.globalMatch(text)) {
        result += QStringView(text).mid(last, match.capturedStart() - last);
        last = match.capturedEnd();
        const QString name = match.captured(1);
        char32_t code = 0;
        if (name.startsWith(QLatin1String("#x"), Qt::CaseInsensitive))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(QLatin1Char('#')))
            code = name.mid(1).toUInt();
        else if (name == QLatin1String("amp"))
            code = '&';
        else if (name == QLatin1String("lt"))
            code = '<';
        else if (name == QLatin1String("gt"))
            code = '>';
        else if (name == QLatin1String("quot"))
            code = '"';
        else if (name == QLatin1String("apos"))
            code = '\'';
        else if (name == QLatin1String("nbsp"))
            code = 0xA0;
        if (code == 0 || code > 0x10FFFF)
            result += match.captured(0);
        else
            result += QString::fromUcs4(&code, 1);
    }
    result += QStringView(text).mid(last);
    return result;
}

QString attribute(const QString &attributes, const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"re(([A-Za-z_:][-A-Za-z0-9_:.]*)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))re"));
    for (const QRegularExpressionMatch &match : pattern.globalMatch(attributes)) {
        if (match.captured(1).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        for (int group = 2; group <= 4; ++group) {
            if (match.capturedStart(group) >= 0)
                return unescape(match.captured(group));
        }
    }
    return {};
}

} // namespace

QList<HelpTopic> parse(const QString &sitemap, QString *problem)
{
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
                inObject = attribute(match.captured(3), QStringLiteral("type"))
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
            const QString param = attribute(attributes, QStringLiteral("name"));
            if (param.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 && entry.name.isEmpty())
                entry.name = attribute(attributes, QStringLiteral("value"));
            else if (param.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0 && entry.local.isEmpty())
                entry.local = attribute(attributes, QStringLiteral("value"));
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

QString topicPath(const QString &local)
{
    QString path = local.trimmed();
    // A link into the help file itself: "ms-its:Horavista.chm::/index.html" or "Horavista.chm::/index.html".
    const qsizetype inside = path.indexOf(QLatin1String("::"));
    if (inside >= 0)
        path = path.mid(inside + 2);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.isEmpty() && !path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return path;
}

} // namespace HelpContents
