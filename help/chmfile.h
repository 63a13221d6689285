#pragma once

#include "help/helpcontents.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>

/**
 * @brief A compiled HTML help file (.chm), read through libmspack from memory, within limits.
 *
 * The whole file is read into memory (it must be an ordinary file of at most MaxFileBytes) and
 * libmspack works on that copy through an I/O layer of the reader's own, which also caps what the
 * library may allocate. Compressed objects come out of one bounded decompression of the start of
 * the compressed section; the library's index walk, which a damaged directory can send round in
 * circles, is never used. Paths inside the file start with "/" and ignore letter case ("/index.html").
 * The file's #SYSTEM record names its default topic, its contents file, its title and its language;
 * texts in it are in the code page of that language. Where #SYSTEM names no contents file or topic,
 * those of the default window (#WINDOWS, its texts in #STRINGS) stand in, and failing those the
 * file's only contents file (.hhc). A file that is missing or not a help file
 * leaves isOpen() false.
 *
 * The first thing found wrong with a file that exists (not a help file, damaged, beyond a limit)
 * is reported as one line in the log; the rest of the file is read as far as it can be.
 */
class ChmFile
{
public:
    /** The largest help file read. */
    static constexpr qint64 MaxFileBytes = 32 * 1024 * 1024;
    /**
     * The largest object handed out: a page, a picture, the contents. A help page is a few
     * kilobytes and its pictures some hundreds; laying out a page of a megabyte already takes the
     * text browser most of a second, and ten take it seconds and a gigabyte.
     */
    static constexpr qint64 MaxObjectBytes = 1024 * 1024;
    /** How far the compressed section is decompressed: objects that end beyond it are not read. */
    static constexpr qint64 MaxContentBytes = 16 * 1024 * 1024;
    /** The most objects indexed; a help file has some hundreds. */
    static constexpr int MaxObjects = 65536;
    /** What libmspack may hold at once, over all help files open: directories and decompressor windows. */
    static constexpr qint64 MaxLibraryBytes = 32 * 1024 * 1024;

    /** The help file at @p path. */
    explicit ChmFile(const QString &path);
    /** A help file already in memory, named @p name in what is reported. */
    ChmFile(const QByteArray &bytes, const QString &name);
    ~ChmFile();
    ChmFile(const ChmFile &) = delete;
    ChmFile &operator=(const ChmFile &) = delete;

    bool isOpen() const;

    /** The bytes of the object at @p path; a path without its leading "/" is taken from the root. */
    std::optional<QByteArray> read(const QString &path);

    /** The paths of the objects in the file, in lower case. */
    QList<QString> objectPaths() const { return m_objects.keys(); }

    /** The page shown first, as a path inside the file ("/index.html"); empty when the file names none. */
    QString defaultTopic() const { return m_defaultTopic; }
    QString title() const { return m_title; }

    /** The code page's language of the texts in the file (a Windows language id). */
    quint32 language() const { return m_language; }

    /**
     * The table of contents, read from the contents file; empty when there is none. The pages of its
     * entries are paths inside the file ("/sub/page 1.html#part").
     */
    QList<HelpTopic> contents();

    /** Reports @p problem of this file in one line of the log, unless one was reported before. */
    void report(const QString &problem);

private:
    struct Library;

    void open();
    void readSystemRecord();
    void readWindow(const QByteArray &name, QByteArray &contents, QByteArray &topic);
    void resolve(QList<HelpTopic> &topics) const;
    bool decompress();

    QString m_name;
    QByteArray m_bytes;
    std::unique_ptr<Library> m_library;
    /** The objects by lower-case path: section (0 stored, 1 compressed), offset in it, length. */
    struct Object
    {
        int section = 0;
        qint64 offset = 0;
        qint64 length = 0;
    };
    QHash<QString, Object> m_objects;
    /** The decompressed start of the compressed section, once an object of it was asked for. */
    std::optional<QByteArray> m_content;
    QString m_defaultTopic;
    QString m_contentsFile;
    QString m_title;
    quint32 m_language = 0;
    bool m_reported = false;
};
