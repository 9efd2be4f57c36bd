#include "files/clipfile.h"

#include "files/textlines.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QFileInfo>

#include <algorithm>

namespace clipfile {

namespace {
constexpr QStringView kLineEnd = u"\r\n";
constexpr QChar kHeaderMark = u'#';
constexpr QByteArrayView kBom = "\xEF\xBB\xBF";

bool isAsciiAlphanumeric(uchar c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
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
    if (inLatinWord || sjis::decode(bytes).contains(QChar::ReplacementCharacter))
        return Encoding::Utf8;
    return Encoding::ShiftJis;
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    if (encoding == Encoding::ShiftJis)
        return sjis::decode(bytes);
    if (bytes.startsWith(kBom))
        bytes = bytes.sliced(kBom.size());
    return QString::fromUtf8(bytes);
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
        // Some line ends are a lone CR.
        QString joined;
        joined.reserve(joinedSize);
        qsizetype pos = 0;
        for (;;) {
            const qsizetype cr = span.indexOf(u'\r', pos);
            joined.append(span.mid(pos, (cr < 0 ? span.size() : cr) - pos));
            if (cr < 0)
                break;
            joined.append(kLineEnd);
            pos = cr + 1;
            if (pos < span.size() && span[pos] == u'\n')
                ++pos;
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
    });
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

ReadResult read(const QString &path)
{
    ReadResult result;
    if (!QFileInfo::exists(path)) {
        result.status = ReadResult::Status::Missing;
        return result;
    }
    const auto bytes = filesystem::readWholeFile(path, &result.error);
    if (!bytes) {
        result.status = ReadResult::Status::Unreadable;
        return result;
    }
    return parseBytes(*bytes);
}

ReadResult parseBytes(QByteArrayView bytes)
{
    ReadResult result;
    result.encoding = detectEncoding(bytes);
    result.entries = parse(decode(bytes, result.encoding));
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

} // namespace

WriteResult encode(const QList<ClipEntry> &entries, QByteArray *bytes, Encoding encoding)
{
    WriteResult result;
    if (encoding != Encoding::ShiftJis) {
        if (bytes)
            *bytes = encodeUtf8(entries, encoding);
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
    if (bytes)
        *bytes = std::move(out);
    return result;
}

WriteResult write(const QString &path, const QList<ClipEntry> &entries, Encoding encoding)
{
    QByteArray bytes;
    WriteResult result = encode(entries, &bytes, encoding);
    if (!result.ok())
        return result;
    if (!filesystem::writeWholeFile(path, bytes, &result.error))
        result.status = WriteResult::Status::Failed;
    return result;
}

} // namespace clipfile
