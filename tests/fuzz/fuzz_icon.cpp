// Arbitrary bytes as ico.ico: the images a window takes from it. Nothing may crash, hang or take
// more than the few images a window uses, whatever sizes and offsets the directory lists.

#include "fuzzsupport.h"
#include "imaging/picturefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::application();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const QList<QImage> images = PictureFile::iconImages(bytes, &error);
    Fuzz::check(images.size() <= 4, "more images than the four sizes a window uses");
    Fuzz::check(images.isEmpty() != error.isEmpty(), "an icon without images, or a reason without a failure");
    for (const QImage &image : images)
        Fuzz::check(image.width() <= PictureFile::MaxIconSide && image.height() <= PictureFile::MaxIconSide,
                    "an icon image beyond the largest icon size");
    return 0;
}
