#include "files/clipfile.h"

#include "files/textlines.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <QFileInfo>

namespace clipfile {

namespace {
constexpr QStringView kLineEnd = u"\r\n";
constexpr QChar kHeaderMark = u'#';
} // namespace

QList<ClipEntry> parse(QStringView text)
{
    QList<ClipEntry> entries;
    textlines::forEach(text, [&entries](QStringView line) {
        if (!line.isEmpty() && line.front() == kHeaderMark) {
            if (entries.size() == maxEntries)
                return false;
            entries.append({line.mid(1).toString(), QString()});
            return true;
        }
        if (entries.isEmpty())
            return true; // lines before the first header belong to no entry
        // An empty text stays empty on an empty line, so leading blank lines are dropped.
        QString &body = entries.last().text;
        if (body.isEmpty()) {
            body = line.toString();
        } else {
            body.append(kLineEnd);
            body.append(line);
        }
        return true;
    });
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
    result.entries = parse(sjis::decode(*bytes));
    return result;
}

WriteResult encode(const QList<ClipEntry> &entries, QByteArray *bytes)
{
    WriteResult result;
    QByteArray out;
    for (int i = 0; i < entries.size(); ++i) {
        // Entry by entry, so a refusal can name the button that holds the character.
        const auto piece = sjis::encode(serialize({entries.at(i)}));
        if (!piece) {
            result.status = WriteResult::Status::Unencodable;
            result.entryIndex = i;
            return result;
        }
        out.append(*piece);
    }
    if (bytes)
        *bytes = std::move(out);
    return result;
}

WriteResult write(const QString &path, const QList<ClipEntry> &entries)
{
    QByteArray bytes;
    WriteResult result = encode(entries, &bytes);
    if (!result.ok())
        return result;
    if (!filesystem::writeWholeFile(path, bytes, &result.error))
        result.status = WriteResult::Status::Failed;
    return result;
}

} // namespace clipfile
