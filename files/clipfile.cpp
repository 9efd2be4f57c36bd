#include "files/clipfile.h"

#include "files/textlines.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

namespace clipfile {

namespace {
constexpr QStringView kLineEnd = u"\r\n";
constexpr QChar kHeaderMark = u'#';
constexpr QByteArrayView kBom = "\xEF\xBB\xBF";

/** Where the next line end (CR or LF byte) at or after `from` is, or the end. Neither byte
    is ever part of a Shift-JIS or UTF-8 character: bytes split at them as the text would. */
qsizetype nextByte(QByteArrayView bytes, qsizetype from, char c)
{
    if (from >= bytes.size())
        return bytes.size();
    const void *found = std::memchr(bytes.data() + from, c, size_t(bytes.size() - from));
    return found ? static_cast<const char *>(found) - bytes.data() : bytes.size();
}

} // namespace

QString decode(QByteArrayView bytes, Encoding encoding)
{
    if (encoding == Encoding::ShiftJis)
        return sjis::decode(bytes);
    // Marks at the start tell the encoding (a careless tool may have added a second one);
    // one further on is part of the text.
    while (bytes.startsWith(kBom))
        bytes = bytes.sliced(kBom.size());
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

namespace {

/** The lines of one entry's text as they lie in the file: from its first non-empty line
    to the end of its last line. */
struct TextSpan
{
    const QChar *begin = nullptr;
    const QChar *end = nullptr;
    qsizetype chars = 0; ///< the lines' characters, line ends not counted
    qsizetype lines = 0;

    void add(QStringView line)
    {
        // An empty text stays empty on an empty line, so leading blank lines are dropped.
        if (!begin) {
            if (line.isEmpty())
                return;
            begin = line.data();
        }
        end = line.data() + line.size();
        chars += line.size();
        ++lines;
    }

    /** The lines joined with CR LF. Where the file ends every one of them with CR LF
        already, that is the stretch of the file as it stands, copied once. */
    QString text() const
    {
        if (!begin)
            return QString();
        const QStringView span(begin, end);
        const qsizetype joinedSize = chars + (lines - 1) * kLineEnd.size();
        if (span.size() == joinedSize)
            return span.toString();
        // Some line ends are a lone CR or LF.
        QString joined;
        joined.reserve(joinedSize);
        for (qsizetype i = 0; i < span.size(); ++i) {
            const QChar c = span[i];
            if (c != u'\r' && c != u'\n') {
                joined.append(c);
                continue;
            }
            joined.append(kLineEnd);
            if (c == u'\r' && i + 1 < span.size() && span[i + 1] == u'\n')
                ++i;
        }
        return joined;
    }
};

} // namespace

QList<ClipEntry> parse(QStringView text)
{
    QList<ClipEntry> entries;
    TextSpan span;
    bool full = false;
    textlines::forEach(text, [&](QStringView line) {
        if (!line.isEmpty() && line.front() == kHeaderMark) {
            if (!entries.isEmpty())
                entries.last().text = span.text();
            span = TextSpan();
            if (entries.size() == maxEntries) {
                full = true;
                return false;
            }
            entries.append({line.mid(1).toString(), QString()});
            return true;
        }
        if (!entries.isEmpty()) // lines before the first header belong to no entry
            span.add(line);
        return true;
    }, textlines::LoneLf::LineEnd);
    if (!full && !entries.isEmpty())
        entries.last().text = span.text();
    return entries;
}

QString serialize(const QList<ClipEntry> &entries)
{
    QString out;
    qsizetype size = 0;
    for (const ClipEntry &entry : entries)
        size += entry.caption.size() + entry.text.size() + 5;
    out.reserve(size);
    for (const ClipEntry &entry : entries) {
        out.append(kHeaderMark);
        out.append(entry.caption);
        out.append(kLineEnd);
        out.append(entry.text);
        out.append(kLineEnd);
    }
    return out;
}

namespace {

/** The most of a file held at a time while it is read: large enough that reading and
    decoding cost no more than they would whole, small next to the texts read. */
constexpr qsizetype kPiece = 512 * 1024;
/** The least a piece can be: a character and a line end with room to spare. */
constexpr qsizetype kLeastPiece = 16;

/** A big file's bytes and texts go on huge pages where the system has them: touching a
    fresh small page costs the kernel a fault, and a big file's thousands of them cost more
    than reading and decoding it. */
constexpr size_t kHugePage = 2 * 1024 * 1024;

size_t pageSize()
{
    static const size_t page = size_t(::sysconf(_SC_PAGESIZE));
    return page;
}

size_t roundUp(size_t n, size_t unit)
{
    return (n + unit - 1) / unit * unit;
}

char *roundUp(char *at, size_t unit)
{
    return at + (roundUp(uintptr_t(at), unit) - uintptr_t(at));
}

/** Bytes looked through front to back a piece at a time, as often as the reader needs. */
class Source
{
public:
    virtual ~Source() = default;
    /** Starts a look from the first byte. */
    virtual bool restart() = 0;
    /** The bytes from `from` on, never before where the last piece started: a piece's
        worth, fewer only at the end, which `atEnd` tells. False when they cannot be read. */
    virtual bool piece(qint64 from, QByteArrayView *bytes, bool *atEnd) = 0;
};

class MemorySource final : public Source
{
public:
    MemorySource(QByteArrayView bytes, qsizetype piece) : m_bytes(bytes), m_piece(piece) {}
    bool restart() override { return true; }
    bool piece(qint64 from, QByteArrayView *bytes, bool *atEnd) override
    {
        if (m_release)
            m_release(from);
        const QByteArrayView rest = m_bytes.sliced(qsizetype(from));
        *bytes = rest.first(std::min(rest.size(), m_piece));
        *atEnd = bytes->size() == rest.size();
        return true;
    }
    /** From now on, the bytes before a piece asked for are never asked for again. */
    void releaseBehind(std::function<void(qint64)> release) { m_release = std::move(release); }

private:
    QByteArrayView m_bytes;
    qsizetype m_piece;
    std::function<void(qint64)> m_release;
};

/** The bytes of a file, read into memory of their own that is given back to the system
    from the front as the texts are decoded: reading a file costs its texts and a piece
    more, not its texts and its bytes. */
class FileBytes
{
public:
    FileBytes() = default;
    FileBytes(const FileBytes &) = delete;
    FileBytes &operator=(const FileBytes &) = delete;
    ~FileBytes()
    {
        if (m_data)
            ::munmap(m_data, m_capacity);
    }

    QByteArrayView view() const { return {m_data, qsizetype(m_size)}; }

    /** Reads `source` to its end, in one go: however the file changes meanwhile, these are
        the bytes the entries and the digest come from. More than `maxSize` is refused. */
    ReadResult::Status readAll(ByteSource &source, qint64 maxSize, QString *error)
    {
        const qint64 claimed = source.size();
        if (claimed > maxSize)
            return ReadResult::Status::TooLarge;
        // Room for what the file says it holds and a little more, so a file that is only
        // appended to while it is read needs no second look; a byte past the limit tells
        // that it grew beyond it.
        const qint64 limit = maxSize < std::numeric_limits<qint64>::max() ? maxSize + 1 : maxSize;
        if (!reserve(std::min(limit, std::max<qint64>(claimed, 0) + kPiece)))
            return fail(error);
        for (;;) {
            if (m_size == m_capacity) {
                if (qint64(m_capacity) >= limit)
                    return ReadResult::Status::TooLarge;
                if (!reserve(std::min<qint64>(limit, qint64(m_capacity) * 2)))
                    return fail(error);
            }
            const qint64 n = source.read(m_data + m_size, qint64(m_capacity - m_size));
            if (n < 0) {
                *error = source.errorString();
                return ReadResult::Status::Unreadable;
            }
            if (n == 0)
                break;
            m_size += size_t(n);
        }
        return qint64(m_size) > maxSize ? ReadResult::Status::TooLarge : ReadResult::Status::Ok;
    }

    /** Gives back the whole pages before `offset`, which are never looked at again. */
    void releaseBefore(qint64 offset)
    {
        const size_t end = size_t(offset) / kHugePage * kHugePage;
        if (end <= m_released)
            return; // whole huge pages: a call for every few bytes would cost more than it
                    // gives, and a huge page cut in two costs the kernel a split
        ::madvise(m_data + m_released, end - m_released, MADV_DONTNEED);
        m_released = end;
    }

private:
    ReadResult::Status fail(QString *error)
    {
        *error = qt_error_string(errno);
        return ReadResult::Status::Unreadable;
    }

    bool reserve(qint64 capacity)
    {
        const size_t size = roundUp(size_t(std::max<qint64>(capacity, 1)), pageSize());
        if (m_data) { // the file grew while it was read: rare, so the pages may be small now
            void *data = ::mremap(m_data, m_capacity, size, MREMAP_MAYMOVE);
            if (data == MAP_FAILED)
                return false;
            m_data = static_cast<char *>(data);
            m_capacity = size;
            return true;
        }
        void *mapped = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED)
            return false;
        char *const base = static_cast<char *>(mapped);
        char *const aligned = roundUp(base, kHugePage);
        if (aligned > base)
            ::munmap(base, size_t(aligned - base));
        if (aligned < base + kHugePage)
            ::munmap(aligned + size, size_t(base + kHugePage - aligned));
        ::madvise(aligned, size, MADV_HUGEPAGE); // a hint: without it, small pages
        m_data = aligned;
        m_capacity = size;
        return true;
    }

    char *m_data = nullptr;
    size_t m_capacity = 0;
    size_t m_size = 0;
    size_t m_released = 0;
};

/** The file open for reading, as a source of bytes. */
class OpenFile final : public ByteSource
{
public:
    explicit OpenFile(QFile &file) : m_file(file) {}
    qint64 size() override { return m_file.size(); }
    qint64 read(char *into, qint64 most) override { return m_file.read(into, most); }
    QString errorString() const override { return m_file.errorString(); }

private:
    QFile &m_file;
};

bool isContinuation(char c)
{
    return (static_cast<uchar>(c) & 0xC0) == 0x80;
}

/** Where to end a stretch of `bytes` that more follow, so that UTF-8 decodes the stretches
    as it would the bytes whole: before the last byte that is not the continuation of a
    character, if one of the last four is. A decoder never takes such a byte into the
    character before it, good or bad. */
qsizetype utf8Cut(QByteArrayView bytes)
{
    for (qsizetype back = 1; back <= 4 && back <= bytes.size(); ++back) {
        if (!isContinuation(bytes[bytes.size() - back]))
            return bytes.size() - back;
    }
    return bytes.size();
}

LineEnd lineEndFor(bool anyCr, bool anyLf)
{
    return !anyCr && anyLf ? LineEnd::Lf : LineEnd::CrLf;
}

/** Where an entry's caption and text lie in the file. */
struct Found
{
    qint64 captionBegin = 0;
    qint64 captionEnd = 0;
    qint64 begin = -1; ///< of the text's first line; -1 while it has none
    qint64 end = -1;   ///< of its last line, the line end not counted
    qsizetype loneEnds = 0; ///< of the text's lines, the last one's end not counted
    bool lastLone = false;
};

/** What a first look through a file's bytes finds: what tells their encoding, how their
    lines end, and where the entries lie. Given the bytes in stretches, each cut by
    utf8Cut() but the last. */
class Layout
{
public:
    QList<Found> found;
    bool bom = false;
    bool validUtf8 = true;
    bool wide = false; ///< a sequence of three or four bytes seen
    bool beyondAscii = false;
    bool inLatinWord = false;
    bool anyCr = false;
    bool anyLf = false;

    void feed(QByteArrayView part, qint64 base, bool last)
    {
        if (base == 0)
            bom = part.startsWith(kBom);
        // Stretches cut between characters are valid UTF-8 each when the whole is.
        validUtf8 = validUtf8 && (bom || part.isValidUtf8());
        if (!bom && validUtf8 && !wide)
            weighUtf8(part, last);
        anyCr = anyCr || nextByte(part, 0, '\r') < part.size();
        anyLf = anyLf || nextByte(part, 0, '\n') < part.size();
        if (!m_full)
            scanLines(part, base, last);
    }

private:
    static bool isAsciiAlphanumeric(char c)
    {
        const auto u = static_cast<uchar>(c);
        return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
    }

    void weighUtf8(QByteArrayView part, bool last)
    {
        const qsizetype n = part.size();
        if (m_letterAfter && n > 0)
            inLatinWord = inLatinWord || isAsciiAlphanumeric(part[0]);
        m_letterAfter = false;
        for (qsizetype i = 0; i < n; ++i) {
            const auto c = static_cast<uchar>(part[i]);
            // A sequence of three or four bytes: every kana, kanji and full-width form.
            if (c >= 0xE0) {
                wide = true;
                return;
            }
            if (c < 0xC0)
                continue;
            beyondAscii = true;
            // Two bytes, U+0080 to U+07FF, which Shift-JIS reads as a half-width katakana
            // followed by another or by a double-byte character. An accented letter of a
            // European word sits next to plain letters; half-width katakana seldom do. A second
            // byte below 0xA1 makes the letter a double-byte character's trail (or no character).
            if (i + 1 == n)
                continue; // valid UTF-8 has the second byte in the same stretch
            const auto next = static_cast<uchar>(part[i + 1]);
            const bool afterLetter = isAsciiAlphanumeric(i > 0 ? part[i - 1] : m_previous);
            const bool beforeLetter = next >= 0xA1 && i + 2 < n && isAsciiAlphanumeric(part[i + 2]);
            m_letterAfter = next >= 0xA1 && i + 2 == n && !last; // the next stretch tells
            inLatinWord = inLatinWord || afterLetter || beforeLetter;
        }
        if (n > 0)
            m_previous = part[n - 1];
    }

    /** The lines as the bytes hold them: a line ends at CR LF, a lone CR or a lone LF; a
        last line without a line end is still a line. */
    void scanLines(QByteArrayView part, qint64 base, bool last)
    {
        const qsizetype n = part.size();
        qsizetype i = 0;
        if (m_lineStart < 0) {
            // Marks at the start tell the encoding (a careless tool may have added a second
            // one); a mark is never cut, being a character.
            while (part.sliced(i).startsWith(kBom))
                i += kBom.size();
            if (i == n && !last)
                return;
            m_lineStart = base + i;
        }
        if (m_crAt >= 0 && i < n) {
            const bool crLf = part[i] == '\n';
            line(m_crAt, !crLf);
            i += crLf;
            startLine(base + i);
        }
        qsizetype cr = -1;
        qsizetype lf = -1;
        while (i < n && !m_full) {
            if (!m_firstKnown) {
                m_first = part[i];
                m_firstKnown = true;
            }
            if (cr < i)
                cr = nextByte(part, i, '\r');
            if (lf < i)
                lf = nextByte(part, i, '\n');
            const qsizetype end = std::min(cr, lf);
            if (end == n)
                break; // the line goes on in the next stretch
            if (end == cr && end + 1 == n) {
                m_crAt = base + end; // whether an LF follows, the next stretch tells
                break;
            }
            const bool crLf = end == cr && lf == end + 1;
            line(base + end, !crLf);
            i = end + (crLf ? 2 : 1);
            startLine(base + i);
        }
        if (!last || m_full)
            return;
        if (m_crAt >= 0)
            line(m_crAt, true);
        else if (m_lineStart < base + n)
            line(base + n, false);
    }

    void startLine(qint64 at)
    {
        m_lineStart = at;
        m_crAt = -1;
        m_firstKnown = false;
    }

    void line(qint64 end, bool loneEnd)
    {
        const qint64 begin = m_lineStart;
        if (end > begin && m_first == '#') {
            if (found.size() == maxEntries) {
                m_full = true; // a 31st header and everything after it are ignored
                return;
            }
            found.append({begin + 1, end});
            return;
        }
        if (found.isEmpty()) // lines before the first header belong to no entry
            return;
        Found &entry = found.last();
        // An empty text stays empty on an empty line, so leading blank lines are dropped.
        if (entry.begin < 0) {
            if (end == begin)
                return;
            entry.begin = begin;
        } else {
            entry.loneEnds += entry.lastLone;
        }
        entry.end = end;
        entry.lastLone = loneEnd;
    }

    char m_previous = 0;
    bool m_letterAfter = false;
    qint64 m_lineStart = -1; ///< -1 while marks at the start may still follow
    qint64 m_crAt = -1;      ///< a CR that ended the last stretch
    char m_first = 0;
    bool m_firstKnown = false;
    bool m_full = false;
};

/** Takes a look through `source` from its start; false when it cannot be read. */
bool look(Source &source, Layout *layout)
{
    if (!source.restart())
        return false;
    for (qint64 at = 0;;) {
        QByteArrayView bytes;
        bool atEnd = false;
        if (!source.piece(at, &bytes, &atEnd))
            return false;
        const qsizetype cut = atEnd ? bytes.size() : utf8Cut(bytes);
        layout->feed(bytes.first(cut), at, atEnd);
        at += cut;
        if (atEnd)
            return true;
    }
}

/** Whether Shift-JIS reads some of the bytes as no character. */
bool notAllShiftJis(Source &source, bool *failed)
{
    *failed = !source.restart();
    std::vector<char16_t> decoded;
    for (qint64 at = 0; !*failed;) {
        QByteArrayView bytes;
        bool atEnd = false;
        if (!source.piece(at, &bytes, &atEnd)) {
            *failed = true;
            break;
        }
        decoded.resize(size_t(bytes.size()));
        qsizetype used = 0;
        const qsizetype units = sjis::decodeInto(bytes, decoded.data(), !atEnd, &used);
        if (std::find(decoded.begin(), decoded.begin() + units, char16_t(0xFFFD)) != decoded.begin() + units)
            return true;
        at += used;
        if (atEnd)
            break;
    }
    return false;
}

/** The encoding a first look found, taking another look where that has not told. */
Encoding encodingOf(Source &source, const Layout &layout, bool *failed)
{
    *failed = false;
    if (layout.bom)
        return Encoding::Utf8WithBom;
    if (!layout.validUtf8)
        return Encoding::ShiftJis; // Japanese Shift-JIS text practically never is
    if (layout.wide)
        return Encoding::Utf8;
    if (!layout.beyondAscii)
        return Encoding::ShiftJis; // ASCII reads the same either way
    if (layout.inLatinWord || notAllShiftJis(source, failed))
        return Encoding::Utf8;
    return Encoding::ShiftJis;
}

/** Decodes a stretch of a file onto the end of `out`, which has room for it; `used` is
    how many bytes were decoded, all but a character cut by the end when `more` follow. */
qsizetype decodeStretch(QByteArrayView bytes, Encoding encoding, char16_t *out, bool more,
                        qsizetype *used)
{
    if (encoding == Encoding::ShiftJis)
        return sjis::decodeInto(bytes, out, more, used);
    *used = bytes.size();
    // A mark in the middle of the file is a character like any other, as the text had it.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.appendToBuffer(reinterpret_cast<QChar *>(out), bytes) - reinterpret_cast<QChar *>(out);
}

/** Makes every line end in the `size` units of `out` from `at` on CR LF; returns how many
    units they are now. A stretch never ends between the CR and the LF of a line end. */
qsizetype joinWithCrLf(QString &out, qsizetype at, qsizetype size)
{
    auto *data = reinterpret_cast<char16_t *>(out.data()) + at;
    qsizetype loneEnds = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] == u'\r')
            loneEnds += i + 1 == size || data[i + 1] != u'\n';
        else if (data[i] == u'\n')
            loneEnds += i == 0 || data[i - 1] != u'\r';
    }
    if (loneEnds == 0)
        return size;
    if (at + size + loneEnds > out.size()) { // only when the file changed since the first look
        out.resize(at + size + loneEnds);
        data = reinterpret_cast<char16_t *>(out.data()) + at;
    }
    // From the back, so each character moves once: a CR is put before each lone LF and an
    // LF after each lone CR.
    qsizetype to = size + loneEnds;
    for (qsizetype from = size; from-- > 0;) {
        const char16_t c = data[from];
        if (c == u'\n') {
            data[--to] = u'\n';
            if (from > 0 && data[from - 1] == u'\r')
                --from;
        } else if (c == u'\r') {
            data[--to] = u'\n';
        } else {
            data[--to] = c;
            continue;
        }
        data[--to] = u'\r';
    }
    return size + loneEnds;
}

/** Makes `out` a string of at least `units` units, to be written from its start. A big one
    starts on a huge page: returns where the huge pages end, or nullptr for small pages. */
const char *roomForText(QString &out, qsizetype units)
{
    const size_t bytes = size_t(units) * sizeof(char16_t);
    if (bytes < kHugePage / 2) {
        out = QString(units, Qt::Uninitialized);
        return nullptr;
    }
    // Room for a huge page's worth more, and the string's start moved up to where one
    // begins: what lies before it is never touched, so it costs no memory, only addresses.
    const size_t huge = roundUp(bytes, kHugePage);
    out = QString(qsizetype((huge + kHugePage) / sizeof(char16_t)), Qt::Uninitialized);
    char *const start = reinterpret_cast<char *>(out.data());
    char *const aligned = roundUp(start, kHugePage);
    out.remove(0, qsizetype(size_t(aligned - start) / sizeof(char16_t))); // moves the start, no copy
    ::madvise(aligned, huge, MADV_HUGEPAGE); // a hint: without it, small pages
    return aligned + huge;
}

/** Decodes the file from `begin` to `end` straight into the string that keeps it, a piece
    at a time, with every line end made CR LF; `loneEnds` is how many of them are not, so
    the room is known beforehand. The text is never copied: a big file costs its texts and
    a piece. */
bool decodeText(Source &source, qint64 begin, qint64 end, qsizetype loneEnds,
                Encoding encoding, QString *text)
{
    // Neither Shift-JIS nor UTF-8 yields more UTF-16 units than it has bytes.
    QString out;
    const char *hugeEnd = roomForText(out, qsizetype(end - begin) + loneEnds);
    qsizetype size = 0;
    for (qint64 at = begin; at < end;) {
        QByteArrayView bytes;
        bool atEnd = false;
        if (!source.piece(at, &bytes, &atEnd) || bytes.isEmpty())
            break; // nothing more to read: never a view of a negative length
        const bool last = atEnd || at + bytes.size() >= end;
        bytes = bytes.first(qsizetype(std::min<qint64>(bytes.size(), end - at)));
        // A stretch ends after a line end where it can: no character spans one.
        qsizetype cut = bytes.size();
        if (!last) {
            const void *lineEnd = nullptr;
            for (const char c : {'\r', '\n'}) {
                const void *found = memrchr(bytes.data(), c, size_t(bytes.size() - 1));
                lineEnd = std::max(lineEnd, found);
            }
            cut = 0;
            if (lineEnd) {
                cut = static_cast<const char *>(lineEnd) - bytes.data() + 1;
                cut += bytes[cut - 1] == '\r' && bytes[cut] == '\n';
            } else if (encoding != Encoding::ShiftJis) {
                cut = utf8Cut(bytes);
            }
        }
        char16_t *into = reinterpret_cast<char16_t *>(out.data()) + size;
        qsizetype used = 0;
        const qsizetype units = cut > 0 ? decodeStretch(bytes.first(cut), encoding, into, false, &used)
                                        : sjis::decodeInto(bytes.chopped(1), into, true, &used);
        size += joinWithCrLf(out, size, units);
        at += used;
        if (last || used <= 0)
            break;
    }
    out.truncate(size);
    if (hugeEnd) {
        // The huge pages beyond the text hold nothing: given back to the system.
        char *const used = roundUp(reinterpret_cast<char *>(out.data() + size + 1), pageSize());
        if (used < hugeEnd)
            ::madvise(used, size_t(hugeEnd - used), MADV_DONTNEED);
    } else {
        out.squeeze(); // gives back what the room held in reserve, without a copy of the text
    }
    *text = std::move(out);
    return true;
}

/** Reads the entries from bytes in memory: a first look for the encoding and where the
    entries lie, then their texts decoded, front to back, each piece given back to
    `release` once decoded. */
void readFrom(MemorySource &source, ReadResult *result, FileBytes *release = nullptr)
{
    Layout layout;
    look(source, &layout);
    bool failed = false;
    result->encoding = encodingOf(source, layout, &failed);
    result->lineEnd = lineEndFor(layout.anyCr, layout.anyLf);
    if (release)
        source.releaseBehind([release](qint64 offset) { release->releaseBefore(offset); });
    result->entries.clear();
    result->entries.reserve(layout.found.size());
    for (const Found &entry : std::as_const(layout.found)) {
        ClipEntry decoded;
        decodeText(source, entry.captionBegin, entry.captionEnd, 0, result->encoding,
                   &decoded.caption);
        if (entry.begin >= 0)
            decodeText(source, entry.begin, entry.end, entry.loneEnds, result->encoding,
                       &decoded.text);
        result->entries.append(std::move(decoded));
    }
}

} // namespace

Encoding detectEncoding(QByteArrayView bytes)
{
    MemorySource source(bytes, std::max(bytes.size(), kLeastPiece));
    Layout layout;
    look(source, &layout);
    bool failed = false;
    return encodingOf(source, layout, &failed);
}

LineEnd detectLineEnd(QByteArrayView bytes)
{
    return lineEndFor(nextByte(bytes, 0, '\r') < bytes.size(), nextByte(bytes, 0, '\n') < bytes.size());
}

ReadResult parseBytes(QByteArrayView bytes, qsizetype piece)
{
    MemorySource source(bytes, std::max(piece > 0 ? piece : bytes.size(), kLeastPiece));
    ReadResult result;
    readFrom(source, &result);
    return result;
}

ReadResult readFrom(ByteSource &source, qint64 maxSize)
{
    ReadResult result;
    FileBytes bytes;
    result.status = bytes.readAll(source, maxSize, &result.error);
    if (result.status != ReadResult::Status::Ok)
        return result;
    // The entries and the digest kept as known come from the same bytes: whatever another
    // program did to the file meanwhile, a later look tells it from what the bar shows.
    result.digest = Digester::of(bytes.view());
    MemorySource memory(bytes.view(), kPiece);
    readFrom(memory, &result, &bytes);
    return result;
}

ReadResult read(const QString &path, qint64 maxSize)
{
    ReadResult result;
    if (!QFileInfo::exists(path)) {
        result.status = ReadResult::Status::Missing;
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.status = ReadResult::Status::Unreadable;
        result.error = file.errorString();
        return result;
    }
    OpenFile source(file);
    return readFrom(source, maxSize);
}

ReadResult digest(const QString &path)
{
    ReadResult result;
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        result.status = ReadResult::Status::Missing;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        result.status = ReadResult::Status::Unreadable;
        result.error = file.errorString();
        return result;
    }
    if (file.size() > maxFileSize) {
        result.status = ReadResult::Status::TooLarge;
        return result;
    }
    Digester digester;
    QByteArray piece(kPiece, Qt::Uninitialized);
    qint64 total = 0;
    for (qint64 n; (n = file.read(piece.data(), piece.size())) != 0;) {
        if (n < 0) {
            result.status = ReadResult::Status::Unreadable;
            result.error = file.errorString();
            return result;
        }
        if ((total += n) > maxFileSize) { // grown meanwhile, or endless
            result.status = ReadResult::Status::TooLarge;
            return result;
        }
        digester.add(QByteArrayView(piece).first(qsizetype(n)));
    }
    result.digest = digester.result();
    return result;
}

namespace {

QByteArray encodeUtf8(const QList<ClipEntry> &entries, Encoding encoding)
{
    QByteArray out;
    for (const ClipEntry &entry : entries) {
        out.append('#');
        out.append(entry.caption.toUtf8());
        out.append("\r\n");
        out.append(entry.text.toUtf8());
        out.append("\r\n");
    }
    // Without its mark, a file left with nothing but, say, "café" would read back as
    // half-width katakana.
    const bool lostAsUtf8 = detectEncoding(out) == Encoding::ShiftJis
            && std::any_of(out.cbegin(), out.cend(), [](char c) { return c & 0x80; });
    if (encoding == Encoding::Utf8WithBom || lostAsUtf8)
        out.prepend(kBom);
    return out;
}

/** `bytes` with each CR LF made an LF, in place: neither byte is part of a character. */
void toLoneLf(QByteArray &bytes)
{
    char *data = bytes.data();
    qsizetype to = 0;
    for (qsizetype from = 0; from < bytes.size(); ++from) {
        if (data[from] == '\r' && from + 1 < bytes.size() && data[from + 1] == '\n')
            continue;
        data[to++] = data[from];
    }
    bytes.truncate(to);
}

} // namespace

WriteResult encode(const QList<ClipEntry> &entries, QByteArray *bytes, Encoding encoding,
                   LineEnd lineEnd)
{
    WriteResult result;
    if (encoding != Encoding::ShiftJis) {
        if (bytes) {
            *bytes = encodeUtf8(entries, encoding);
            if (lineEnd == LineEnd::Lf)
                toLoneLf(*bytes);
        }
        return result;
    }
    constexpr auto fold = sjis::LookAlikes::Fold;
    QByteArray out;
    for (int i = 0; i < entries.size(); ++i) {
        // Entry by entry, so a refusal can name the button that holds the character; part by
        // part, the serialized form, without building it first.
        const ClipEntry &entry = entries.at(i);
        const bool encoded = sjis::appendEncoded(QStringView(&kHeaderMark, 1), out)
                && sjis::appendEncoded(entry.caption, out, fold)
                && sjis::appendEncoded(kLineEnd, out)
                && sjis::appendEncoded(entry.text, out, fold) && sjis::appendEncoded(kLineEnd, out);
        if (!encoded) {
            result.status = WriteResult::Status::Unencodable;
            result.entryIndex = i;
            return result;
        }
    }
    if (lineEnd == LineEnd::Lf)
        toLoneLf(out);
    if (bytes)
        *bytes = std::move(out);
    return result;
}

WriteResult write(const QString &path, const QList<ClipEntry> &entries, Encoding encoding,
                  LineEnd lineEnd)
{
    QByteArray bytes;
    WriteResult result = encode(entries, &bytes, encoding, lineEnd);
    if (!result.ok())
        return result;
    if (!filesystem::saveFile(path, bytes, &result.error))
        result.status = WriteResult::Status::Failed;
    else // what the program knows of the file is what it wrote, not what a look finds later
        result.digest = Digester::of(bytes);
    return result;
}

} // namespace clipfile
