#include "help/chmfile.h"

#include "platform/regularfile.h"

#include <QDebug>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include <mspack.h>

namespace {

enum SystemCode : quint16 {
    ContentsFile = 0,
    DefaultTopic = 2,
    Title = 3,
    Language = 4,
    DefaultWindow = 5,
};

/**
 * How far the decompressor may read ahead of what it has made: a frame of 32 KB stored as it is, and
 * the library's input buffer, fit many times over. Blocks that make nothing (empty ones) only read.
 */
constexpr qint64 MaxInputAhead = 256 * 1024;
/**
 * The processor time one decompression may take: the whole compressed section decompresses in a
 * tenth of this, but blocks that each make a few bytes cost the decompressor a table each.
 */
constexpr qint64 MaxDecompressionNanoseconds = 500'000'000;

qint64 threadCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

/** The budget of one decompression, checked at every read of its input. */
struct DecompressionBudget
{
    const QByteArray *output = nullptr;
    qint64 inputRead = 0;
    qint64 cpuDeadline = 0;
    QString exceeded;
};

/** What the library's file names point at: the help file's bytes, or the buffer an extraction fills. */
struct MemoryFile
{
    const QByteArray *input = nullptr;
    QByteArray *output = nullptr;
    qint64 outputLimit = 0;
    /** While the compressed section is decompressed. */
    DecompressionBudget *budget = nullptr;
};

/** An open MemoryFile, as the library holds it. */
struct OpenFile
{
    mspack_file base;
    MemoryFile *file = nullptr;
    qint64 position = 0;
};

/**
 * What the library holds, over all help files open. The library hands copies of the I/O layer to
 * its decompressor, so the count cannot live in it; everything runs on one thread.
 */
thread_local qint64 t_libraryBytes = 0;

/** Put before every allocation, so that freeing knows its size. */
struct alignas(std::max_align_t) AllocationHeader
{
    std::size_t size;
};

OpenFile *asOpen(mspack_file *file)
{
    return reinterpret_cast<OpenFile *>(file);
}

mspack_file *openFile(mspack_system *, const char *name, int mode)
{
    // The "names" the reader hands the library are MemoryFile objects.
    auto *file = reinterpret_cast<MemoryFile *>(const_cast<char *>(name));
    const bool reading = mode == MSPACK_SYS_OPEN_READ && file->input;
    const bool writing = mode == MSPACK_SYS_OPEN_WRITE && file->output;
    if (!reading && !writing)
        return nullptr;
    auto *open = new OpenFile;
    open->file = file;
    return &open->base;
}

void closeFile(mspack_file *file)
{
    delete asOpen(file);
}

int readFile(mspack_file *handle, void *buffer, int bytes)
{
    OpenFile *open = asOpen(handle);
    const QByteArray *input = open->file->input;
    if (!input || bytes < 0)
        return -1;
    if (DecompressionBudget *budget = open->file->budget) {
        if (budget->inputRead > budget->output->size() + MaxInputAhead)
            budget->exceeded = QStringLiteral("more than %1 bytes of blocks that make nothing").arg(MaxInputAhead);
        else if (threadCpuNanoseconds() > budget->cpuDeadline)
            budget->exceeded = QStringLiteral("blocks that take more than %1 s to decompress")
                                   .arg(double(MaxDecompressionNanoseconds) / 1e9);
        if (!budget->exceeded.isEmpty())
            return -1;
        budget->inputRead += bytes;
    }
    const qint64 count = qBound(qint64(0), qint64(input->size()) - open->position, qint64(bytes));
    if (count > 0)
        std::memcpy(buffer, input->constData() + open->position, std::size_t(count));
    open->position += count;
    return int(count);
}

int writeFile(mspack_file *handle, void *buffer, int bytes)
{
    MemoryFile *file = asOpen(handle)->file;
    if (!file->output || bytes < 0 || file->output->size() + bytes > file->outputLimit)
        return -1;
    file->output->append(static_cast<const char *>(buffer), bytes);
    return bytes;
}

int seekFile(mspack_file *handle, off_t offset, int mode)
{
    OpenFile *open = asOpen(handle);
    const qint64 size = open->file->input ? open->file->input->size() : open->file->output->size();
    qint64 base = 0;
    if (mode == MSPACK_SYS_SEEK_CUR)
        base = open->position;
    else if (mode == MSPACK_SYS_SEEK_END)
        base = size;
    else if (mode != MSPACK_SYS_SEEK_START)
        return -1;
    // Offsets come from the file: no position outside it is taken, nor any sum that would overflow.
    if (offset < -base || offset > size - base)
        return -1;
    open->position = base + offset;
    return 0;
}

off_t tellFile(mspack_file *handle)
{
    return off_t(asOpen(handle)->position);
}

void ignoreMessage(mspack_file *, const char *, ...) { }

void *allocate(mspack_system *, std::size_t bytes)
{
    if (bytes > std::size_t(ChmFile::MaxLibraryBytes) || t_libraryBytes + qint64(bytes) > ChmFile::MaxLibraryBytes)
        return nullptr;
    void *block = std::malloc(sizeof(AllocationHeader) + bytes);
    if (!block)
        return nullptr;
    auto *header = static_cast<AllocationHeader *>(block);
    header->size = bytes;
    t_libraryBytes += qint64(bytes);
    return header + 1;
}

void release(void *pointer)
{
    if (!pointer)
        return;
    AllocationHeader *header = static_cast<AllocationHeader *>(pointer) - 1;
    t_libraryBytes -= qint64(header->size);
    std::free(header);
}

void copyBytes(void *from, void *to, std::size_t bytes)
{
    std::memmove(to, from, bytes);
}

QString describe(int error)
{
    switch (error) {
    case MSPACK_ERR_SIGNATURE:
        return QStringLiteral("not a help file");
    case MSPACK_ERR_NOMEMORY:
        return QStringLiteral("the help file's directory is too large");
    case MSPACK_ERR_READ:
        return QStringLiteral("the help file is cut short");
    default:
        return QStringLiteral("the help file is damaged");
    }
}

} // namespace

/** libmspack's decompressor and the file it opened, on the reader's own memory system. */
struct ChmFile::Library
{
    mspack_system system{};
    MemoryFile input;
    mschm_decompressor *decompressor = nullptr;
    mschmd_header *header = nullptr;
    /** Stands in for the optional reset table and span record when the file has none. */
    mschmd_file absent{};

    explicit Library(const QByteArray &bytes)
    {
        system.open = openFile;
        system.close = closeFile;
        system.read = readFile;
        system.write = writeFile;
        system.seek = seekFile;
        system.tell = tellFile;
        system.message = ignoreMessage;
        system.alloc = allocate;
        system.free = release;
        system.copy = copyBytes;
        input.input = &bytes;
        decompressor = mspack_create_chm_decompressor(&system);
    }
    ~Library()
    {
        if (header)
            decompressor->close(decompressor, header);
        if (decompressor)
            mspack_destroy_chm_decompressor(decompressor);
    }
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;

    const char *inputName() { return reinterpret_cast<const char *>(&input); }
};

ChmFile::ChmFile(const QString &path)
    : m_name(QFileInfo(path).fileName())
{
    if (path.isEmpty())
        return;
    RegularFile::Contents contents = RegularFile::read(path, MaxFileBytes);
    // A missing help file is no fault of the file: nothing to report.
    if (contents.status == RegularFile::Status::Missing)
        return;
    if (contents.status != RegularFile::Status::Read) {
        report(contents.error);
        return;
    }
    m_bytes = std::move(contents.bytes);
    open();
}

ChmFile::ChmFile(const QByteArray &bytes, const QString &name)
    : m_name(name)
    , m_bytes(bytes)
{
    open();
}

ChmFile::~ChmFile() = default;

bool ChmFile::isOpen() const
{
    return m_library && m_library->header;
}

void ChmFile::report(const QString &problem)
{
    if (m_reported)
        return;
    m_reported = true;
    qWarning().noquote() << QStringLiteral("%1: %2").arg(m_name, problem);
}

void ChmFile::open()
{
    // The header carries two GUIDs, {7C01FD10-...} and {7C01FD11-...}. Free Pascal's chmcmd, which
    // compiles the program's help file, writes the first one twice; libmspack insists on the second.
    constexpr qsizetype FirstGuid = 0x18;
    constexpr qsizetype SecondGuid = 0x28;
    constexpr qsizetype GuidBytes = 16;
    if (m_bytes.size() >= SecondGuid + GuidBytes && m_bytes.startsWith("ITSF") &&
        QByteArrayView(m_bytes).sliced(FirstGuid, GuidBytes) == QByteArrayView(m_bytes).sliced(SecondGuid, GuidBytes) &&
        quint8(m_bytes[FirstGuid]) == 0x10)
        m_bytes[SecondGuid] = char(0x11);
    // The directory header names the first listing chunk; fpdoc's help files name chunk 1 while chunk 0,
    // which holds #SYSTEM, is one too. Every listing chunk from chunk 0 on is read instead.
    constexpr qsizetype DirectoryOffset = 0x48;
    constexpr qsizetype FirstListing = 0x20;
    constexpr qsizetype DirectoryHeaderBytes = 0x54;
    constexpr qsizetype HeaderLanguage = 0x14;
    if (m_bytes.size() >= DirectoryOffset + 8 && m_bytes.startsWith("ITSF")) {
        const quint64 directory = qFromLittleEndian<quint64>(m_bytes.constData() + DirectoryOffset);
        if (m_bytes.size() >= DirectoryHeaderBytes + 4 &&
            directory <= quint64(m_bytes.size() - DirectoryHeaderBytes - 4)) {
            char *header = m_bytes.data() + directory;
            if (QByteArrayView(header, 4) == "ITSP" && qFromLittleEndian<quint32>(header + FirstListing) != 0 &&
                QByteArrayView(header + DirectoryHeaderBytes, 4) == "PMGL")
                qToLittleEndian<quint32>(0, header + FirstListing);
        }
        m_language = qFromLittleEndian<quint32>(m_bytes.constData() + HeaderLanguage);
    }
    m_library = std::make_unique<Library>(m_bytes);
    if (!m_library->decompressor) {
        report(QStringLiteral("the help reader cannot start"));
        return;
    }
    // The whole directory, read chunk by chunk in file order: no walk that a damaged index could send in circles.
    m_library->header = m_library->decompressor->open(m_library->decompressor, m_library->inputName());
    if (!m_library->header) {
        report(describe(m_library->decompressor->last_error(m_library->decompressor)));
        return;
    }
    int count = 0;
    for (const mschmd_file *file = m_library->header->files; file; file = file->next) {
        if (++count > MaxObjects) {
            report(QStringLiteral("the help file lists more than %1 objects").arg(MaxObjects));
            break;
        }
        const QString path = QString::fromUtf8(file->filename).toLower();
        if (!m_objects.contains(path))
            m_objects.insert(path, {int(file->section->id), qint64(file->offset), qint64(file->length)});
    }
    // The library would look up what it lacks through that index walk: it finds what stands in instead.
    mschmd_sec_mscompressed &compressed = m_library->header->sec1;
    if (!compressed.rtable)
        compressed.rtable = &m_library->absent;
    if (!compressed.spaninfo)
        compressed.spaninfo = &m_library->absent;
    readSystemRecord();
}

bool ChmFile::decompress()
{
    if (m_content)
        return true;
    m_content = QByteArray();
    const mschmd_sec_mscompressed &compressed = m_library->header->sec1;
    if (!compressed.content || !compressed.control) {
        report(QStringLiteral("the help file has no compressed section"));
        return false;
    }
    // As far as the last object that can be handed out ends, and no further.
    qint64 end = 0;
    for (const Object &object : std::as_const(m_objects)) {
        if (object.section == 1 && object.length <= MaxObjectBytes && object.offset >= 0 &&
            object.offset <= MaxContentBytes - object.length)
            end = qMax(end, object.offset + object.length);
    }
    if (end == 0)
        return true;
    DecompressionBudget budget;
    budget.output = &*m_content;
    budget.cpuDeadline = threadCpuNanoseconds() + MaxDecompressionNanoseconds;
    m_library->input.budget = &budget;
    MemoryFile output;
    output.output = &*m_content;
    output.outputLimit = end;
    m_content->reserve(end);
    mschmd_file whole{};
    whole.section = &m_library->header->sec1.base;
    whole.offset = 0;
    whole.length = end;
    char wholeName[] = "content";
    whole.filename = wholeName;
    const int error =
        m_library->decompressor->extract(m_library->decompressor, &whole, reinterpret_cast<const char *>(&output));
    m_library->input.budget = nullptr;
    // What was decompressed before a fault stays readable.
    if (!budget.exceeded.isEmpty())
        report(QStringLiteral("the help file's compressed section has %1 after %2 bytes")
                   .arg(budget.exceeded)
                   .arg(m_content->size()));
    else if (error != MSPACK_ERR_OK)
        report(QStringLiteral("the help file's compressed section is damaged after %1 bytes").arg(m_content->size()));
    return true;
}

std::optional<QByteArray> ChmFile::read(const QString &path)
{
    if (!isOpen() || path.isEmpty())
        return std::nullopt;
    QString key = path.toLower();
    if (!key.startsWith(QLatin1Char('/')))
        key.prepend(QLatin1Char('/'));
    const auto found = m_objects.constFind(key);
    if (found == m_objects.constEnd())
        return std::nullopt;
    const Object &object = *found;
    if (object.length < 0 || object.length > MaxObjectBytes || object.offset < 0) {
        report(QStringLiteral("%1 is larger than %2 bytes").arg(key).arg(MaxObjectBytes));
        return std::nullopt;
    }
    if (object.section == 0) {
        // Stored as it is, after the directory.
        const qint64 start = qint64(m_library->header->sec0.offset);
        if (start < 0 || object.offset > m_bytes.size() - start ||
            object.length > m_bytes.size() - start - object.offset) {
            report(QStringLiteral("%1 lies beyond the end of the file").arg(key));
            return std::nullopt;
        }
        return m_bytes.mid(start + object.offset, object.length);
    }
    if (!decompress())
        return std::nullopt;
    if (object.offset > m_content->size() - object.length) {
        if (object.offset > MaxContentBytes - object.length)
            report(QStringLiteral("%1 lies beyond the first %2 bytes of the compressed section")
                       .arg(key)
                       .arg(MaxContentBytes));
        else
            report(QStringLiteral("%1 cannot be decompressed").arg(key));
        return std::nullopt;
    }
    return m_content->mid(object.offset, object.length);
}

void ChmFile::readSystemRecord()
{
    // #SYSTEM: a 4-byte version, then records of a 2-byte code, a 2-byte length and that many bytes of data.
    const QByteArray bytes = read(QStringLiteral("/#SYSTEM")).value_or(QByteArray());
    QByteArray contents, topic, title, window;
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
        case DefaultWindow:
            window = data;
            break;
        default:
            break;
        }
    }
    // Many compilers name the contents file and the first page only in the default window.
    if (contents.isEmpty() || contents.startsWith('\0') || topic.isEmpty() || topic.startsWith('\0'))
        readWindow(window.left(window.indexOf('\0')), contents, topic);
    // The language record may come after the texts, so they are decoded once all records are read.
    m_contentsFile = HelpContents::topicPath(HelpContents::decodeAnsi(contents, m_language));
    m_defaultTopic = HelpContents::topicPath(HelpContents::decodeAnsi(topic, m_language));
    m_title = HelpContents::decodeAnsi(title, m_language);
    if (m_contentsFile.isEmpty()) {
        // Failing both, the file's only contents file.
        const QStringList sitemaps = objectPaths().filter(QRegularExpression(QStringLiteral("\\.hhc$")));
        if (sitemaps.size() == 1)
            m_contentsFile = sitemaps.first();
    }
}

void ChmFile::readWindow(const QByteArray &name, QByteArray &contents, QByteArray &topic)
{
    // #WINDOWS: the number of windows and the size of each, then the windows. In each, at these places,
    // the offsets in #STRINGS of its name, its contents file and its first page.
    constexpr qsizetype NameAt = 0x08, ContentsAt = 0x60, FileAt = 0x68, Smallest = 0x6C;
    const QByteArray windows = read(QStringLiteral("/#WINDOWS")).value_or(QByteArray());
    const QByteArray strings = read(QStringLiteral("/#STRINGS")).value_or(QByteArray());
    if (windows.size() < 8)
        return;
    const quint32 count = qFromLittleEndian<quint32>(windows.constData());
    const quint32 size = qFromLittleEndian<quint32>(windows.constData() + 4);
    if (size < Smallest)
        return;
    // A name or a path of at most 1 KB; a help file has a window or two.
    static constexpr qsizetype MaxString = 1024;
    static constexpr quint32 MaxWindows = 64;
    const auto string = [&strings](const char *field) {
        const quint32 offset = qFromLittleEndian<quint32>(field);
        if (offset == 0 || offset >= quint32(strings.size()))
            return QByteArray();
        const QByteArrayView text =
            QByteArrayView(strings).sliced(offset).first(qMin(MaxString, strings.size() - offset));
        return text.first(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0')).toByteArray();
    };
    // The window that #SYSTEM names, else the first.
    const char *chosen = nullptr;
    for (quint32 i = 0; i < qMin(count, MaxWindows) && 8 + (qint64(i) + 1) * size <= windows.size(); ++i) {
        const char *window = windows.constData() + 8 + qint64(i) * size;
        if (!chosen)
            chosen = window;
        if (!name.isEmpty() && string(window + NameAt).compare(name, Qt::CaseInsensitive) == 0) {
            chosen = window;
            break;
        }
    }
    if (!chosen)
        return;
    if (contents.isEmpty() || contents.startsWith('\0'))
        contents = string(chosen + ContentsAt);
    if (topic.isEmpty() || topic.startsWith('\0'))
        topic = string(chosen + FileAt);
}

QList<HelpTopic> ChmFile::contents()
{
    const std::optional<QByteArray> sitemap = read(m_contentsFile);
    if (!sitemap)
        return {};
    QString problem;
    QList<HelpTopic> topics = HelpContents::parse(HelpContents::decode(*sitemap, m_language), &problem, m_language);
    // Entries name their pages relative to the contents file's folder.
    resolve(topics);
    if (!problem.isEmpty())
        report(QStringLiteral("%1: %2").arg(m_contentsFile, problem));
    return topics;
}

void ChmFile::resolve(QList<HelpTopic> &topics) const
{
    for (HelpTopic &topic : topics) {
        if (!topic.local.isEmpty())
            topic.local = HelpContents::topicPath(topic.local, m_contentsFile);
        resolve(topic.children);
    }
}
