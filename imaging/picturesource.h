#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QList>
#include <QSize>
#include <QString>

namespace Himetric {

inline constexpr int PerInch = 2540;

/** A length of @p pixels in hundredths of a millimetre on a screen of @p dotsPerInch, to the nearest. */
int fromPixels(int pixels, double dotsPerInch);

} // namespace Himetric

/**
 * @brief A picture file opened for showing: its natural size from the header, its pixels decoded once.
 *
 * The format is told by the file's content, not its name. A file that is empty, of another format, or
 * cut short (a half-copied photo) is not readable: the decoders would otherwise fill in the missing
 * part with grey or black. Neither is a picture beyond the pixel budget, told from its header before
 * anything is decoded: its pixels, and for a JPEG of several scans (a progressive one) the decoder's
 * whole-image buffer, would take hundreds of megabytes and seconds. What the readers would keep besides
 * the pixels never reaches them: a PNG is cut to the chunks of its pixels (its text chunks alone could
 * inflate to hundreds of megabytes), a JPEG's comments, Exif and colour profiles are turned off; and a
 * PNG whose image data inflates past its size is not decoded, as its decoder would inflate it all. The file
 * is read into memory, up to a size limit, so a file that shrinks meanwhile cannot take the program down;
 * a big photo can be decoded straight to a reduced size.
 */
class PictureSource
{
public:
    /** The largest file read: a 25-megapixel photo at the highest JPEG quality stays below it. */
    static constexpr qint64 MaxFileBytes = 32 * 1024 * 1024;
    /**
     * The most pixels decoded: a 6000 x 4000 photo fits. At 4 bytes a pixel no picture takes more
     * than 100 MB, and a JPEG decoded to the preview's size far less.
     */
    static constexpr qint64 PixelBudget = 25'000'000;
    /**
     * The most pixels of a JPEG of several scans (a progressive one, as web pictures are): its
     * decoder keeps all of the picture, up to 8 bytes a pixel, and passes over it at every scan.
     * A 4000 x 3000 picture fits.
     */
    static constexpr qint64 ProgressivePixelBudget = 12'000'000;
    /** Each scan of a JPEG passes over the whole picture: at most this many full-size scans' work. */
    static constexpr qint64 ScanBudget = 20 * ProgressivePixelBudget;

    /** The picture file at @p path, read as BMP, JPEG or GIF. */
    explicit PictureSource(const QString &path);
    /** A picture already in memory, in one of @p formats (Qt's names: "png", "jpeg", ...). */
    PictureSource(const QByteArray &bytes, const QList<QByteArray> &formats);
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
    /** Reads the header; the reason the picture cannot be shown, or an empty string. */
    QString open(const QList<QByteArray> &formats);

    QByteArray m_bytes;
    QBuffer m_buffer;
    QImageReader m_reader;
    QByteArray m_format;
    QSize m_size;
    QString m_error;
    bool m_readable = false;
};
