#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/** One entry of a help file's table of contents: a heading, the page it opens (may be empty) and its sub-entries. */
struct HelpTopic
{
    QString name;
    QString local;
    QList<HelpTopic> children;
};

/**
 * @brief Reading the sitemap files of HTML help (.hhc contents): nested <UL> lists of text/sitemap objects.
 */
namespace HelpContents {

/** The deepest nesting kept: entries of lists deeper down join the list at this depth. */
inline constexpr int MaxDepth = 32;
/** The most entries kept; a help file's contents have some dozens. */
inline constexpr int MaxEntries = 5000;

/**
 * The entries of a sitemap, nested as its lists are, within MaxDepth and MaxEntries; @p problem
 * (when given) says which limit cut the contents. Anything that is not a sitemap object is passed over.
 * Entities are read as the system's viewer reads them for a help file of @p language: the Latin-1 ones
 * as bytes of the language's code page.
 */
QList<HelpTopic> parse(const QString &sitemap, QString *problem = nullptr, quint32 language = 0);

/**
 * The text of a file written for a help file of language @p language (a Windows language id): in the
 * encoding its meta line names, else in that language's code page.
 */
QString decode(const QByteArray &bytes, quint32 language);

/** The text of a NUL-terminated string in the code page of @p language. */
QString decodeAnsi(const QByteArray &bytes, quint32 language);

/**
 * A link made a path inside the help file: URL-decoded and resolved against the folder of @p base, the
 * file that names it. "dials.html#how" becomes "/dials.html#how", "../page%201.html" in "/sub/toc.hhc"
 * "/page 1.html".
 */
QString topicPath(const QString &local, const QString &base = QStringLiteral("/"));

} // namespace HelpContents
