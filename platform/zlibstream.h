#pragma once

#include <QByteArrayView>
#include <QList>

/**
 * @brief How far a zlib stream inflates, counted without keeping what it inflates to.
 *
 * The pictures' checks ask this of a PNG's image data before Qt's reader sees it: that reader inflates a
 * stream to its end, even far past the picture.
 */
namespace ZlibStream {

/**
 * How many bytes the zlib stream made of @p pieces, one after the other, inflates to, counting no
 * further than one byte past @p limit. A damaged stream counts as far as it inflates.
 */
qint64 inflatedSize(const QList<QByteArrayView> &pieces, qint64 limit);

} // namespace ZlibStream
