#pragma once

// Writes compiled help files for the hostile-file benchmark: a header, the directory chunks of the
// listed objects, and their bytes stored uncompressed. Objects may claim any section, place and
// length, so a hostile file is as easy to describe as a sound one. (tests/data/make-help.py writes
// the tests' help files the same way.)

#include <QByteArray>
#include <QList>
#include <QtEndian>

class ChmWriter
{
public:
    static constexpr quint32 ChunkSize = 4096;

    /** An object stored in the file: section 0, its bytes after those stored before it. */
    void add(const QByteArray &path, const QByteArray &bytes)
    {
        list(path, 0, m_data.size(), bytes.size());
        m_data += bytes;
    }

    /** A directory entry only: whatever section, offset and length it claims. */
    void list(const QByteArray &path, int section, qint64 offset, qint64 length)
    {
        m_entries.append(encint(quint64(path.size())) + path + encint(quint64(section)) + encint(quint64(offset)) +
                         encint(quint64(length)));
    }

    /** How many bytes the objects stored so far take. */
    qsizetype storedBytes() const { return m_data.size(); }

    /** A #SYSTEM record naming the contents file, the default topic and the title. */
    static QByteArray systemRecord(const QByteArray &contents, const QByteArray &topic, const QByteArray &title)
    {
        QByteArray record = le32(3);
        const auto field = [&record](quint16 code, const QByteArray &text) {
            record += le16(code) + le16(quint16(text.size() + 1)) + text + '\0';
        };
        field(0, contents);
        field(2, topic);
        field(3, title);
        return record;
    }

    /**
     * A compressed section of @p lzx, an LZX stream of 64 KB windows that decompresses to
     * @p uncompressed bytes, stored after the objects stored so far.
     */
    void addCompressedSection(const QByteArray &lzx, quint64 uncompressed)
    {
        add("::DataSpace/Storage/MSCompressed/Content", lzx);
        QByteArray control = le32(6) + "LZXC" + le32(2) + le32(2) + le32(2) + le32(2);
        control.resize(28, '\0');
        add("::DataSpace/Storage/MSCompressed/ControlData", control);
        add("::DataSpace/Storage/MSCompressed/SpanInfo", le64(uncompressed));
    }

    /**
     * An LZX stream of about @p size bytes that makes nothing: a verbatim block that sets its trees
     * (every literal and match 9 bits), then empty ones that set them again. Each costs the
     * decompressor its tables.
     */
    static QByteArray lzxEmptyBlocks(qsizetype size) { return lzxBlocks(size, 0); }

    /**
     * An LZX stream of blocks that make @p blockBytes bytes each (0, or a multiple of 8 that divides
     * 32 KB), each setting its trees again, until the stream is about @p size bytes long: the first
     * block letters, the others matches of 8 bytes.
     */
    static QByteArray lzxBlocks(qsizetype size, int blockBytes)
    {
        QByteArray bytes;
        quint32 word = 0;
        int bits = 0;
        const auto put = [&](quint32 value, int count) {
            for (int bit = count - 1; bit >= 0; --bit) {
                word = (word << 1) | ((value >> bit) & 1);
                if (++bits == 16) {
                    bytes += char(word & 0xFF);
                    bytes += char(word >> 8);
                    word = 0;
                    bits = 0;
                }
            }
        };
        const auto lengths = [&](int count, quint32 symbol) {
            // The pretree: symbols 0 (keep a length) and 8 (0 becomes 9), one bit each.
            for (int i = 0; i < 20; ++i)
                put(i == 0 || i == 8 ? 1 : 0, 4);
            for (int i = 0; i < count; ++i)
                put(symbol, 1);
        };
        constexpr int Frame = 32768, Interval = 2 * Frame; // the control data's reset interval
        constexpr quint32 Letter = 'a', Match = 256 + 6; // the last offset again, 8 bytes
        qint64 made = 0;
        for (bool first = true; bytes.size() < size; first = false) {
            const bool reset = made % Interval == 0 && (blockBytes || first);
            if (reset)
                put(0, 1); // no Intel translation
            put(1, 3); // verbatim
            put(quint32(blockBytes), 24);
            lengths(256, reset ? 1 : 0); // the trees start empty at every reset
            lengths(256, reset ? 1 : 0);
            lengths(249, 0); // an empty length tree
            for (int i = 0; i < (first ? blockBytes : blockBytes / 8); ++i)
                put(first ? Letter : Match, 9);
            made += blockBytes;
            if (blockBytes && made % Frame == 0)
                put(0, (16 - bits) % 16); // every frame ends on a 16-bit word
        }
        put(0, (16 - bits) % 16);
        return bytes;
    }

    /**
     * The file. With @p loopingIndex a last chunk is an index whose only entry points back at
     * itself, named as the directory's root: a reader that walks the index never leaves it.
     */
    QByteArray build(bool loopingIndex = false) const
    {
        // The directory: as many chunks as the entries fill, then the looping index if asked for.
        QList<QByteArray> chunks;
        for (qsizetype first = 0; first < m_entries.size() || chunks.isEmpty();) {
            QByteArray entries;
            qsizetype next = first;
            while (next < m_entries.size() && 0x14 + entries.size() + m_entries[next].size() + 2 <= ChunkSize)
                entries += m_entries[next++];
            const quint32 at = quint32(chunks.size());
            const quint32 after = next < m_entries.size() ? at + 1 : 0xFFFFFFFF;
            chunks.append(chunk("PMGL" + le32(2) + le32(0) + le32(at ? at - 1 : 0xFFFFFFFF) + le32(after), entries,
                                int(next - first)));
            first = next;
        }
        const quint32 lastListing = quint32(chunks.size() - 1);
        if (loopingIndex)
            chunks.append(chunk("PMGI" + le32(2), encint(1) + "/" + encint(chunks.size()), 1));
        const quint32 count = quint32(chunks.size());
        const quint64 directory = 0x78;
        const quint64 content = directory + 0x54 + quint64(count) * ChunkSize;
        const quint64 total = content + quint64(m_data.size());
        QByteArray file = "ITSF" + le32(3) + le32(0x60) + le32(1) + le32(0) + le32(0x0411) + guid(0x10) + guid(0x11);
        file += le64(0x60) + le64(0x18) + le64(directory) + le64(0x54 + quint64(count) * ChunkSize) + le64(content);
        file += le32(0x1FE) + le32(0) + le64(total) + le32(0) + le32(0);
        file += "ITSP" + le32(1) + le32(0x54) + le32(10) + le32(ChunkSize) + le32(2) + le32(loopingIndex ? 2 : 1);
        file += le32(loopingIndex ? lastListing + 1 : 0xFFFFFFFF) + le32(0) + le32(lastListing) + le32(0xFFFFFFFF) +
            le32(count);
        file +=
            le32(0x0411) + QByteArray(16, '\x6A') + le32(0x54) + le32(0xFFFFFFFF) + le32(0xFFFFFFFF) + le32(0xFFFFFFFF);
        return file + chunks.join() + m_data;
    }

private:
    static QByteArray le16(quint16 value) { return number(value); }
    static QByteArray le32(quint32 value) { return number(value); }
    static QByteArray le64(quint64 value) { return number(value); }

    template <typename T>
    static QByteArray number(T value)
    {
        QByteArray bytes(sizeof(T), '\0');
        qToLittleEndian(value, bytes.data());
        return bytes;
    }

    static QByteArray guid(quint8 first)
    {
        return QByteArray::fromHex(QByteArray::number(first, 16) + QByteArrayLiteral("fd017caa7bd0119e0c00a0c922e6ec"));
    }

    static QByteArray encint(quint64 value)
    {
        QByteArray bytes(1, char(value & 0x7F));
        while (value >>= 7)
            bytes.prepend(char(0x80 | (value & 0x7F)));
        return bytes;
    }

    static QByteArray chunk(const QByteArray &header, const QByteArray &entries, int count)
    {
        QByteArray bytes = header + entries;
        bytes.resize(ChunkSize - 2, '\0');
        return bytes + le16(quint16(count));
    }

    QList<QByteArray> m_entries;
    QByteArray m_data;
};
