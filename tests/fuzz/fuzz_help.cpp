// Arbitrary bytes as Horavista.chm: its header and directory, the #SYSTEM record and the default window,
// the contents and the decompression of its pages; then the help window on the same file, showing its
// first pages with their style sheets, pictures and text, laid out and painted. Nothing may crash or
// hang, and no object may exceed the reader's limit.

#include "fuzzsupport.h"
#include "help/chmfile.h"
#include "help/helpwindow.h"

#include <QRegularExpression>
#include <QTextBrowser>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::application();
    ChmFile file(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("fuzz.chm"));
    if (!file.isOpen())
        return 0;
    file.contents();
    // Reading every object copies it out; a hostile directory could list thousands of the same megabyte.
    const QStringList paths = QStringList{file.defaultTopic()} + file.objectPaths();
    for (const QString &path : paths.mid(0, 64)) {
        Fuzz::check(file.read(path).value_or(QByteArray()).size() <= ChmFile::MaxObjectBytes,
                    "an object beyond the reader's limit");
    }
    Fuzz::write(QStringLiteral("Horavista.chm"), data, size);
    HelpWindow window(Fuzz::folder().filePath(QStringLiteral("Horavista.chm")));
    if (!window.isOpen())
        return 0;
    window.resize(400, 300); // a small window paints quickly, and wraps the text more
    window.show();
    auto *browser = window.findChild<QTextBrowser *>();
    window.showDefaultTopic();
    browser->viewport()->grab();
    // The first three pages.
    for (const QString &path : file.objectPaths().filter(QRegularExpression(QStringLiteral("\\.html?$"))).mid(0, 3)) {
        window.showTopic(path);
        browser->viewport()->grab();
    }
    return 0;
}
