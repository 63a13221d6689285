// Arbitrary bytes as a help file's contents (.hhc): decoded in the help file's code page and parsed, its
// entries resolved against the contents file's folder; and as a page, checked before the text browser
// may lay it out, its tags and then its text. Nothing may crash or hang, the tree must stay within the
// parser's depth and size, and every entry must name a path inside the file.

#include "fuzzsupport.h"
#include "help/helpcontents.h"
#include "help/helppage.h"

static int depthOf(const QList<HelpTopic> &topics, int level, int &entries)
{
    int deepest = topics.isEmpty() ? level - 1 : level;
    entries += int(topics.size());
    for (const HelpTopic &topic : topics) {
        const QString path = HelpContents::topicPath(topic.local, QStringLiteral("/folder/toc.hhc"));
        const QStringList steps = path.section(u'#', 0, 0).split(u'/');
        Fuzz::check(path.isEmpty() || (path.startsWith(u'/') && !steps.contains(QLatin1String(".."))),
                    "a contents entry resolved outside the file's paths");
        deepest = qMax(deepest, depthOf(topic.children, level + 1, entries));
    }
    return deepest;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first two bytes choose the language, as the help file's #SYSTEM record would.
    if (size < 2)
        return 0;
    const quint32 language = quint32(data[0]) | (quint32(data[1]) << 8);
    const QByteArray bytes(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    QString problem;
    const QString text = HelpContents::decode(bytes, language);
    const QList<HelpTopic> topics = HelpContents::parse(text, &problem, language);
    int entries = 0;
    Fuzz::check(depthOf(topics, 1, entries) <= HelpContents::MaxDepth, "contents deeper than the limit");
    Fuzz::check(entries <= HelpContents::MaxEntries, "more contents entries than the limit");
    Fuzz::check(HelpPage::problem(bytes).isEmpty() || bytes.contains('<') || bytes.size() > HelpPage::MaxBytes,
                "a page refused for tags it does not have");
    HelpPage::textProblem(text);
    return 0;
}
