// Clip data files are hand-edited: any bytes must load, the reader's fast path must agree with
// the rule put plainly, and whatever loads must save and load back as the same entries. Text
// read as UTF-8 is anything a user may type: if Shift-JIS holds it, it reads back as written.

#include "fuzzcheck.h"

#include "files/clipfile.h"
#include "files/textlines.h"
#include "platform/sjiscodec.h"

#include <algorithm>
#include <cstring>

/** The reading rule line by line; the reader copies whole stretches of the file instead. */
static QList<ClipEntry> plainParse(QStringView text)
{
    QList<ClipEntry> entries;
    textlines::forEach(text, [&entries](QStringView line) {
        if (line.startsWith(u'#')) {
            if (entries.size() == clipfile::maxEntries)
                return false;
            entries.append({line.mid(1).toString(), QString()});
        } else if (!entries.isEmpty()) {
            QString &body = entries.last().text;
            body += (body.isEmpty() ? QString() : QStringLiteral("\r\n")) + line.toString();
        }
        return true;
    }, textlines::LoneLf::LineEnd);
    return entries;
}

/** The input as a file another program saves while it is read: it claims a size it does
    not hold, comes in pieces of lengths the input picks, and from halfway on holds its
    bytes with every CR LF made LF, as another save with other line ends would leave it. */
class ChangingFile final : public clipfile::ByteSource
{
public:
    explicit ChangingFile(QByteArrayView bytes)
        : m_bytes(bytes), m_later(bytes.sliced(bytes.size() / 2).toByteArray().replace("\r\n", "\n"))
    {
    }
    QByteArray delivered;
    qint64 size() override { return m_bytes.isEmpty() ? 0 : m_bytes[0] * 97 % 1001; }
    qint64 read(char *into, qint64 most) override
    {
        const qsizetype half = m_bytes.size() / 2;
        const QByteArrayView now = delivered.size() < half ? m_bytes.first(half) : QByteArrayView(m_later);
        const qsizetype at = delivered.size() < half ? delivered.size() : delivered.size() - half;
        if (at >= now.size())
            return 0;
        const qsizetype step = 1 + (m_bytes.isEmpty() ? 0 : static_cast<uchar>(m_bytes[at % m_bytes.size()]) % 37);
        const qsizetype n = std::min({qsizetype(most), step, now.size() - at});
        std::memcpy(into, now.data() + at, size_t(n));
        delivered.append(now.sliced(at, n));
        return n;
    }
    QString errorString() const override { return QString(); }

private:
    QByteArrayView m_bytes;
    QByteArray m_later;
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const clipfile::Encoding encoding = clipfile::detectEncoding(bytes);
    const QString text = clipfile::decode(bytes, encoding);
    FUZZ_CHECK(text.size() <= bytes.size());
    const QList<ClipEntry> entries = clipfile::parse(text);
    FUZZ_CHECK(entries == plainParse(text));
    // Read from the bytes entry by entry, the file gives what its whole text gives.
    const clipfile::ReadResult read = clipfile::parseBytes(bytes);
    FUZZ_CHECK(read.encoding == encoding && read.entries == entries);
    // A file is looked through a piece at a time, cut anywhere: it reads as its bytes whole.
    const clipfile::ReadResult pieces = clipfile::parseBytes(bytes, size > 0 ? 16 + data[0] % 32 : 0);
    FUZZ_CHECK(pieces.encoding == encoding && pieces.entries == entries && pieces.lineEnd == read.lineEnd);
    FUZZ_CHECK(clipfile::parse(clipfile::serialize(entries)) == entries);
    // A file changing under the reader reads as the bytes that came, whatever it claimed.
    ChangingFile changing(bytes);
    const clipfile::ReadResult underway = clipfile::readFrom(changing);
    const clipfile::ReadResult came = clipfile::parseBytes(changing.delivered);
    FUZZ_CHECK(underway.status == clipfile::ReadResult::Status::Ok && underway.entries == came.entries
               && underway.digest == Digester::of(changing.delivered));

    QByteArray encoded;
    const bool encodable = clipfile::encode(entries, &encoded, encoding).ok();
    // Written with LF, the same entries read back; a file of LF alone is written as it came.
    QByteArray lf;
    FUZZ_CHECK(clipfile::encode(entries, &lf, encoding, clipfile::LineEnd::Lf).ok() == encodable);
    FUZZ_CHECK(!encodable || (!lf.contains('\r') || encoded.count('\r') > encoded.count("\r\n")));
    FUZZ_CHECK(!encodable || clipfile::parseBytes(lf).entries == clipfile::parseBytes(encoded).entries);
    // Look-alikes are saved as their Shift-JIS twins, and read back as those.
    const QString folded = sjis::foldLookAlikes(text);
    const auto typed = sjis::encode(text, sjis::LookAlikes::Fold);
    FUZZ_CHECK(typed == sjis::encode(folded) && (!typed || sjis::decode(*typed) == folded));
    if (encoding == clipfile::Encoding::ShiftJis) {
        // What a Shift-JIS file decodes to is the code page's own characters and saves as it was.
        FUZZ_CHECK(folded == text && (typed || text.contains(QChar::ReplacementCharacter)));
        // The file built part by part is the serialized text encoded whole.
        const auto whole = sjis::encode(clipfile::serialize(entries), sjis::LookAlikes::Fold);
        FUZZ_CHECK(encodable == whole.has_value() && (!encodable || encoded == *whole));
        FUZZ_CHECK(!encodable || clipfile::parse(sjis::decode(encoded)) == entries);
    } else { // UTF-8 holds anything, and what it wrote is taken for UTF-8 (or ASCII) again
        FUZZ_CHECK(encodable && clipfile::parse(clipfile::decode(encoded, clipfile::detectEncoding(encoded))) == entries);
    }
    return 0;
}
