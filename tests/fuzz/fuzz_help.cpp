// Arbitrary bytes as Horavista.chm: its header and directory, the #SYSTEM record, the contents and the
// decompression of its pages. Nothing may crash or hang, and no object may exceed the reader's limit.

#include "fuzzsupport.h"
#include "help/chmfile.h"

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
    return 0;
}
