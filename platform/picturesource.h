#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QString>

namespace Himetric {

inline constexpr int PerInch = 2540;

/** A length of @p pixels in hundredths of a millimetre on a screen of @p dotsPerInch, to the nearest. */
int fromPixels(int pixels, double dotsPerInch);

} // namespace Himetric

/**
 * @brief A BMP, JPEG or GIF file opened for showing: its natural size from the header, its pixels decoded once.
 *
 * The format is told by the file's content, not its name. A file that is empty, of another format, or
 * cut short (a half-copied photo) is not readable: the decoders would otherwise fill in the missing
 * part with grey or black. The file is mapped, not copied, and read once by the decoder; a big photo
 * can be decoded straight to a reduced size. Qt's allocation limit stays in force, so a picture that
 * claims an enormous size is refused rather than filling memory.
 */
class PictureSource
{
public:
    explicit PictureSource(const QString &path);
    PictureSource(const PictureSource &) = delete;
    PictureSource &operator=(const PictureSource &) = delete;

    bool isReadable() const { return m_readable; }
    QString errorString() const { return m_error; }

    QSize pixelSize() const { return m_size; }
    QSize himetricSize(double dotsPerInch) const;

    /**
     * The picture's pixels (the first frame of an animation), or a null image. With a valid
     * @p reducedTo smaller than the picture, the picture is decoded to that size, as smooth scaling
     * of the whole picture would give; a JPEG decodes directly at a fraction of its size.
     * Decodes once: later calls return a null image.
     */
    QImage decode(const QSize &reducedTo = QSize());

private:
    /** Maps the file and reads its header; the reason it cannot be shown, or an empty string. */
    QString open();

    QFile m_file;
    QByteArray m_bytes;
    QBuffer m_buffer;
    QImageReader m_reader;
    QByteArray m_format;
    QSize m_size;
    QString m_error;
    bool m_readable = false;
};
