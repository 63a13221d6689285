// Arbitrary bytes as Horavista.chm: its header and directory, the #SYSTEM record, the contents and the
// decompression of its pages. Nothing may crash or hang, and no object may exceed the reader's limit.

#include "fuzzsupport.h"
#include "help/chmfile.h"

namespace {

/** Reading every object copies it out; a hostile directory could list thousands of the same megabyte. */
constexpr int ObjectsRead = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::application();
    ChmFile file(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("fuzz.chm"));
    if (!file.isOpen())
        return 0;
    file.contents();
    QList<QString> paths = file.objectPaths();
    paths.prepend(file.defaultTopic());
    for (const QString &path : paths.mid(0, ObjectsRead)) {
        const std::optional<QByteArray> object = file.read(path);
        Fuzz::check(!object || object->size() <= ChmFile::MaxObjectBytes, "an object beyond the reader's limit");
    }
    return 0;
}
