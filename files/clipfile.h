#pragma once

#include <QList>
#include <QString>
#include <QStringView>

/** One snippet: the button's caption and the text it puts on the clipboard. */
struct ClipEntry
{
    QString caption;
    QString text;

    bool operator==(const ClipEntry &) const = default;
};

/** The clip data file (.cdt): "#caption" header lines, each followed by its text lines. */
namespace clipfile {

/** Most entries a file can hold; a 31st header and everything after it are ignored. */
inline constexpr int maxEntries = 30;

/** Parses decoded file text into its entries. */
QList<ClipEntry> parse(QStringView text);

/** The file text for `entries`, each line ended by CR LF. */
QString serialize(const QList<ClipEntry> &entries);

struct ReadResult
{
    enum class Status { Ok, Missing, Unreadable };
    Status status = Status::Ok;
    QList<ClipEntry> entries;
    QString error;
};

/** Reads a Shift-JIS clip data file. */
ReadResult read(const QString &path);

struct WriteResult
{
    enum class Status { Ok, Unencodable, Failed };
    Status status = Status::Ok;
    int entryIndex = -1; ///< the entry Shift-JIS cannot hold, for Unencodable
    QString error;       ///< the system's reason, for Failed

    bool ok() const { return status == Status::Ok; }
};

/** Encodes `entries` in Shift-JIS, or reports the first entry that cannot be encoded. */
WriteResult encode(const QList<ClipEntry> &entries, QByteArray *bytes);

/** Replaces the file at `path` with `entries`, atomically. When an entry cannot be held in
    Shift-JIS nothing is written and the file stays as it was. */
WriteResult write(const QString &path, const QList<ClipEntry> &entries);

} // namespace clipfile
