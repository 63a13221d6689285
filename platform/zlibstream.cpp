#include "platform/zlibstream.h"

#include <zlib.h>

namespace ZlibStream {

qint64 inflatedSize(const QList<QByteArrayView> &pieces, qint64 limit)
{
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK)
        return 0;
    Bytef sink[16384];
    qint64 size = 0;
    bool ended = false;
    for (const QByteArrayView piece : pieces) {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(piece.data()));
        stream.avail_in = uInt(piece.size());
        while (!ended && stream.avail_in > 0 && size <= limit) {
            stream.next_out = sink;
            stream.avail_out = sizeof sink;
            // The end of the stream, or damage: nothing more is inflated either way.
            ended = inflate(&stream, Z_NO_FLUSH) != Z_OK;
            size += qint64(sizeof sink - stream.avail_out);
        }
        if (ended || size > limit)
            break;
    }
    inflateEnd(&stream);
    return size;
}

} // namespace ZlibStream
