#pragma once

#include "help/helpcontents.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct chmFile;

/**
 * @brief A compiled HTML help file (.chm), read through chmlib.
 *
 * Paths inside the file start with "/" and ignore letter case ("/index.html"). The file's #SYSTEM
 * record names its default topic, its contents file, its title and its language; texts in it are in
 * the code page of that language. A file that is missing or not a help file leaves isOpen() false.
 */
class ChmFile
{
public:
    explicit ChmFile(const QString &path);
    ~ChmFile();
    ChmFile(const ChmFile &) = delete;
    ChmFile &operator=(const ChmFile &) = delete;

    bool isOpen() const { return m_file != nullptr; }

    /** The bytes of the object at @p path; a path without its leading "/" is taken from the root. */
    std::optional<QByteArray> read(const QString &path) const;

    /** The page shown first, as a path inside the file ("/index.html"); empty when the file names none. */
    QString defaultTopic() const { return m_defaultTopic; }
    QString contentsFile() const { return m_contentsFile; }
    QString title() const { return m_title; }
    quint32 language() const { return m_language; }

    /** The table of contents, read from the contents file; empty when there is none. */
    QList<HelpTopic> contents() const;

private:
    void readSystemRecord();

    chmFile *m_file = nullptr;
    QString m_defaultTopic;
    QString m_contentsFile;
    QString m_title;
    quint32 m_language = 0;
};
