#include "help/chmfile.h"

#include <QFile>
#include <QtEndian>

#include <chm_lib.h>

namespace {

// A damaged file may claim any length; no object of a help file comes near this.
constexpr LONGUINT64 LargestObject = 64 * 1024 * 1024;

enum SystemCode : quint16 {
    ContentsFile = 0,
    DefaultTopic = 2,
    Title = 3,
    Language = 4,
};

} // namespace

ChmFile::ChmFile(const QString &path)
{
    if (path.isEmpty())
        return;
    m_file = chm_open(QFile::encodeName(path).constData());
    if (m_file)
        readSystemRecord();
}

ChmFile::~ChmFile()
{
    if (m_file)
        chm_close(m_file);
}

std::optional<QByteArray> ChmFile::read(const QString &path) const
{
    if (!m_file || path.isEmpty())
        return std::nullopt;
    QByteArray name = path.toUtf8();
    if (!name.startsWith('/'))
        name.prepend('/');
    if (name.size() > CHM_MAX_PATHLEN)
        return std::nullopt;
    chmUnitInfo unit{};
    if (chm_resolve_object(m_file, name.constData(), &unit) != CHM_RESOLVE_SUCCESS || unit.length > LargestObject)
        return std::nullopt;
    QByteArray bytes(static_cast<qsizetype>(unit.length), Qt::Uninitialized);
    if (unit.length == 0)
        return bytes;
    const LONGINT64 got = chm_retrieve_object(m_file, &unit, reinterpret_cast<unsigned char *>(bytes.data()), 0,
                                              static_cast<LONGINT64>(unit.length));
    if (got != static_cast<LONGINT64>(unit.length))
        return std::nullopt;
    return bytes;
}

void ChmFile::readSystemRecord()
{
    // #SYSTEM: a 4-byte version, then records of a 2-byte code, a 2-byte length and that many bytes of data.
    const std::optional<QByteArray> system = read(QStringLiteral("/#SYSTEM"));
    if (!system)
        return;
    const QByteArray &bytes = *system;
    QByteArray contents, topic, title;
    qsizetype at = 4;
    while (at + 4 <= bytes.size()) {
        const quint16 code = qFromLittleEndian<quint16>(bytes.constData() + at);
        const quint16 length = qFromLittleEndian<quint16>(bytes.constData() + at + 2);
        at += 4;
        if (at + length > bytes.size())
            break;
        const QByteArray data = bytes.mid(at, length);
        at += length;
        switch (code) {
        case ContentsFile:
            contents = data;
            break;
        case DefaultTopic:
            topic = data;
            break;
        case Title:
            title = data;
            break;
        case Language:
            if (data.size() >= 4)
                m_language = qFromLittleEndian<quint32>(data.constData());
            break;
        default:
            break;
        }
    }
    // The language record may come after the texts, so they are decoded once all records are read.
    m_contentsFile = HelpContents::topicPath(HelpContents::decodeAnsi(contents, m_language));
    m_defaultTopic = HelpContents::topicPath(HelpContents::decodeAnsi(topic, m_language));
    m_title = HelpContents::decodeAnsi(title, m_language);
}

QList<HelpTopic> ChmFile::contents() const
{
    const std::optional<QByteArray> sitemap = read(m_contentsFile);
    if (!sitemap)
        return {};
    return HelpContents::parse(HelpContents::decode(*sitemap, m_language));
}
