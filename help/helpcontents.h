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
 */
QList<HelpTopic> parse(const QString &sitemap, QString *problem = nullptr);

/**
 * The text of a file written for a help file of language @p language (a Windows language id): in the
 * encoding its meta line names, else in that language's code page.
 */
QString decode(const QByteArray &bytes, quint32 language);

/** The text of a NUL-terminated string in the code page of @p language. */
QString decodeAnsi(const QByteArray &bytes, quint32 language);

/** A link of a sitemap made a path inside the help file: "dials.html#how" becomes "/dials.html#how". */
QString topicPath(const QString &local);

} // namespace HelpContents
