#include "files/clipfile.h"

#include "files/textlines.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <vector>

namespace clipfile {

namespace {
constexpr QStringView kLineEnd = u"\r\n";
constexpr QChar kHeaderMark = u'#';
constexpr QByteArrayView kBom = "\xEF\xBB\xBF";

bool isAsciiAlphanumeric(uchar c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

/** Where the next line end (CR or LF byte) at or after `from` is, or the end. Neither byte
    is ever part of a Shift-JIS or UTF-8 character: bytes split at them as the text would. */
qsizetype nextByte(QByteArrayView bytes, qsizetype from, char c)
{
    if (from >= bytes.size())
        return bytes.size();
    const void *found = std::memchr(bytes.data() + from, c, size_t(bytes.size() - from));
    return found ? static_cast<const char *>(found) - bytes.data() : bytes.size();
}

/** Whether Shift-JIS reads some of `bytes` as no character, decoded a stretch of lines at a
    time so a big file needs no copy of its text. */
bool notAllShiftJis(QByteArrayView bytes)
{
    constexpr qsizetype kStretch = 256 * 1024;
    std::vector<char16_t> decoded;
    for (qsizetype pos = 0; pos < bytes.size();) {
        qsizetype end = std::min(pos + kStretch, bytes.size());
        if (end < bytes.size())
            end = std::min(nextByte(bytes, end, '\n'), nextByte(bytes, end, '\r'));
        const QByteArrayView stretch = bytes.sliced(pos, end - pos);
        decoded.resize(size_t(stretch.size()));
        const qsizetype units = sjis::decodeInto(stretch, decoded.data());
        if (std::find(decoded.begin(), decoded.begin() + units, char16_t(0xFFFD)) != decoded.begin() + units)
            return true;
        pos = end;
    }
    return false;
}
} // namespace

Encoding detectEncoding(QByteArrayView bytes)
{
    if (bytes.startsWith(kBom))
        return Encoding::Utf8WithBom;
    if (!bytes.isValidUtf8())
        return Encoding::ShiftJis; // Japanese Shift-JIS text practically never is
    bool beyondAscii = false;
    bool inLatinWord = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<uchar>(bytes[i]);
        // A sequence of three or four bytes: every kana, kanji and full-width form.
        if (c >= 0xE0)
            return Encoding::Utf8;
        if (c < 0xC0)
            continue;
        beyondAscii = true;
        // Two bytes, U+0080 to U+07FF, which Shift-JIS reads as a half-width katakana
        // followed by another or by a double-byte character. An accented letter of a
        // European word sits next to plain letters; half-width katakana seldom do.
        const auto next = static_cast<uchar>(bytes[i + 1]); // valid UTF-8: there is one
        const bool afterLetter = i > 0 && isAsciiAlphanumeric(static_cast<uchar>(bytes[i - 1]));
        const bool beforeLetter = next >= 0xA0 && i + 2 < bytes.size()
                && isAsciiAlphanumeric(static_cast<uchar>(bytes[i + 2]));
        inLatinWord = inLatinWord || afterLetter || beforeLetter;
    }
    if (!beyondAscii)
        return Encoding::ShiftJis; // ASCII reads the same either way
    if (inLatinWord || notAllShiftJis(bytes))
        return Encoding::Utf8;
    return Encoding::ShiftJis;
}

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

LineEnd detectLineEnd(QByteArrayView bytes)
{
    const bool anyCr = nextByte(bytes, 0, '\r') < bytes.size();
    return !anyCr && nextByte(bytes, 0, '\n') < bytes.size() ? LineEnd::Lf : LineEnd::CrLf;
}

ReadResult read(const QString &path)
{
    ReadResult result;
    if (!QFileInfo::exists(path)) {
        result.status = ReadResult::Status::Missing;
        return result;
    }
    bool tooLarge = false;
    const auto bytes = filesystem::readFileUpTo(path, maxFileSize, &tooLarge, &result.error);
    if (!bytes) {
        result.status = tooLarge ? ReadResult::Status::TooLarge : ReadResult::Status::Unreadable;
        return result;
    }
    return parseBytes(*bytes);
}

namespace {

/** The lines of a file's bytes, each with whether its line end is other than CR LF. */
class ByteLines
{
public:
    explicit ByteLines(QByteArrayView bytes) : m_bytes(bytes) {}

    bool next(QByteArrayView *line, bool *loneEnd)
    {
        if (m_pos >= m_bytes.size())
            return false;
        // Each byte is looked for again only once it has been passed.
        if (m_cr < m_pos)
            m_cr = nextByte(m_bytes, m_pos, '\r');
        if (m_lf < m_pos)
            m_lf = nextByte(m_bytes, m_pos, '\n');
        const qsizetype end = std::min(m_cr, m_lf);
        *line = m_bytes.sliced(m_pos, end - m_pos);
        const bool crLf = end == m_cr && m_lf == end + 1;
        *loneEnd = end < m_bytes.size() && !crLf;
        m_pos = end + (crLf ? 2 : 1);
        return true;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    qsizetype m_cr = -1;
    qsizetype m_lf = -1;
};

/** Decodes a stretch of a file straight into the string that keeps it, with every line end
    made CR LF; `loneEnds` is how many of them are not, so the room is known beforehand. The
    file's text is never copied whole: a big file costs its bytes and its entries alone. */
QString decodeText(QByteArrayView bytes, Encoding encoding, qsizetype loneEnds)
{
    // Neither Shift-JIS nor UTF-8 yields more UTF-16 units than it has bytes.
    QString out(bytes.size() + loneEnds, Qt::Uninitialized);
    auto *data = reinterpret_cast<char16_t *>(out.data());
    qsizetype size = 0;
    if (encoding == Encoding::ShiftJis) {
        size = sjis::decodeInto(bytes, data);
    } else {
        // A mark in the middle of the file is a character like any other, as the text had it.
        QStringDecoder utf8(QStringDecoder::Utf8,
                            QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
        size = utf8.appendToBuffer(reinterpret_cast<QChar *>(data), bytes) - reinterpret_cast<QChar *>(data);
    }
    if (loneEnds > 0) {
        // Counted again in the text, which is what is moved (a bad byte never hides a line end).
        loneEnds = 0;
        for (qsizetype i = 0; i < size; ++i) {
            if (data[i] == u'\r')
                loneEnds += i + 1 == size || data[i + 1] != u'\n';
            else if (data[i] == u'\n')
                loneEnds += i == 0 || data[i - 1] != u'\r';
        }
        if (size + loneEnds > out.size()) {
            out.resize(size + loneEnds);
            data = reinterpret_cast<char16_t *>(out.data());
        }
        // From the back, so each character moves once: a CR is put before each lone LF and
        // an LF after each lone CR.
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
        size += loneEnds;
    }
    out.truncate(size);
    out.squeeze(); // gives back what the room held in reserve, without a copy of the text
    return out;
}

} // namespace

ReadResult parseBytes(QByteArrayView bytes)
{
    ReadResult result;
    result.encoding = detectEncoding(bytes);
    result.lineEnd = detectLineEnd(bytes);
    while (bytes.startsWith(kBom)) // as decode() takes them
        bytes = bytes.sliced(kBom.size());

    // Where each entry's caption and text lie in the bytes; decoded once all are found.
    struct Found
    {
        QByteArrayView caption;
        const char *begin = nullptr;
        const char *end = nullptr;
        qsizetype loneEnds = 0; ///< of the text's lines, the last one's end not counted
        bool lastLone = false;
    };
    QList<Found> found;
    ByteLines lines(bytes);
    QByteArrayView line;
    bool loneEnd = false;
    while (lines.next(&line, &loneEnd)) {
        if (!line.isEmpty() && line.front() == '#') {
            if (found.size() == maxEntries)
                break;
            found.append({line.sliced(1)});
            continue;
        }
        if (found.isEmpty()) // lines before the first header belong to no entry
            continue;
        Found &entry = found.last();
        // An empty text stays empty on an empty line, so leading blank lines are dropped.
        if (!entry.begin) {
            if (line.isEmpty())
                continue;
            entry.begin = line.data();
        } else {
            entry.loneEnds += entry.lastLone;
        }
        entry.end = line.data() + line.size();
        entry.lastLone = loneEnd;
    }
    result.entries.reserve(found.size());
    for (const Found &entry : found) {
        const QByteArrayView text = entry.begin ? QByteArrayView(entry.begin, entry.end) : QByteArrayView();
        result.entries.append({decodeText(entry.caption, result.encoding, 0),
                               decodeText(text, result.encoding, entry.loneEnds)});
    }
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
    if (!filesystem::writeWholeFile(path, bytes, &result.error))
        result.status = WriteResult::Status::Failed;
    return result;
}

} // namespace clipfile
