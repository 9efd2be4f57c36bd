// The clip data reader on arbitrary bytes: the files are hand-edited, so any byte sequence
// must load, and whatever loads must save and load back as the same entries.

#include "fuzzcheck.h"

#include "files/clipfile.h"
#include "files/textlines.h"
#include "platform/sjiscodec.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

namespace {

/** The reading rule as plainly as it can be put, line by line; the reader copies whole
    stretches of the file instead and must come to the same entries. */
QList<ClipEntry> plainParse(QStringView text)
{
    QList<ClipEntry> entries;
    textlines::forEach(text, [&entries](QStringView line) {
        if (!line.isEmpty() && line.front() == u'#') {
            if (entries.size() == clipfile::maxEntries)
                return false;
            entries.append({line.mid(1).toString(), QString()});
        } else if (!entries.isEmpty()) {
            QString &body = entries.last().text;
            body += (body.isEmpty() ? QString() : QStringLiteral("\r\n")) + line.toString();
        }
        return true;
    });
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const clipfile::Encoding encoding = clipfile::detectEncoding(bytes);
    const QString text = clipfile::decode(bytes, encoding);
    FUZZ_CHECK(text.size() <= bytes.size());

    const QList<ClipEntry> entries = clipfile::parse(text);
    FUZZ_CHECK(entries.size() <= clipfile::maxEntries);
    FUZZ_CHECK(entries == plainParse(text));
    for (const ClipEntry &entry : entries) {
        // A caption is one line; a text is lines joined with CR LF and nothing else.
        FUZZ_CHECK(!entry.caption.contains(u'\r'));
        FUZZ_CHECK(!QString(entry.text).remove(QStringLiteral("\r\n")).contains(u'\r'));
        FUZZ_CHECK(!entry.text.startsWith(QStringLiteral("\r\n")));
    }

    FUZZ_CHECK(clipfile::parse(clipfile::serialize(entries)) == entries);
    QByteArray encoded;
    const bool encodable = clipfile::encode(entries, &encoded, encoding).ok();
    if (encoding == clipfile::Encoding::ShiftJis) {
        // The file's bytes, built part by part, are the serialized text encoded whole.
        const auto whole = sjis::encode(clipfile::serialize(entries), sjis::LookAlikes::Fold);
        FUZZ_CHECK(encodable == whole.has_value());
        if (encodable) {
            FUZZ_CHECK(encoded == *whole);
            FUZZ_CHECK(clipfile::parse(sjis::decode(encoded)) == entries);
        }
    } else {
        // UTF-8 holds anything, and what was written is taken for UTF-8 (or ASCII) again.
        FUZZ_CHECK(encodable);
        const QString again = clipfile::decode(encoded, clipfile::detectEncoding(encoded));
        FUZZ_CHECK(clipfile::parse(again) == entries);
    }
    return 0;
}
