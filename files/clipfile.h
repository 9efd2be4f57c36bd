#pragma once

#include "app/limits.h"

#include <QByteArrayView>
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
inline constexpr int maxEntries = limits::maxEntries;

/** Parses decoded file text into its entries. */
QList<ClipEntry> parse(QStringView text);

/** The file text for `entries`, each line ended by CR LF. */
QString serialize(const QList<ClipEntry> &entries);

/** How a clip data file's bytes stand for its text. */
enum class Encoding {
    ShiftJis,    ///< the program's own files, and every file it creates
    Utf8,        ///< as a Linux text editor saves it
    Utf8WithBom, ///< the same after a byte order mark, which is written back
};

/** The encoding of a clip data file's bytes: UTF-8 when they start with a byte order mark,
    or when they are valid UTF-8 beyond ASCII and not more likely Shift-JIS half-width
    katakana; Shift-JIS otherwise. */
Encoding detectEncoding(QByteArrayView bytes);

/** The text of a file's bytes in `encoding`, without a byte order mark. */
QString decode(QByteArrayView bytes, Encoding encoding);

struct ReadResult
{
    enum class Status { Ok, Missing, Unreadable };
    Status status = Status::Ok;
    QList<ClipEntry> entries;
    Encoding encoding = Encoding::ShiftJis;
    QString error;
};

/** Reads a clip data file in the encoding it is in. */
ReadResult read(const QString &path);
/** The entries of a clip data file's bytes, read in the encoding they are in. */
ReadResult parseBytes(QByteArrayView bytes);

struct WriteResult
{
    enum class Status { Ok, Unencodable, Failed };
    Status status = Status::Ok;
    int entryIndex = -1; ///< the entry Shift-JIS cannot hold, for Unencodable (UTF-8 holds any)
    QString error;       ///< the system's reason, for Failed

    bool ok() const { return status == Status::Ok; }
};

/** Encodes `entries`, or reports the first entry that Shift-JIS cannot hold. Look-alikes
    go into Shift-JIS as the code page's characters (sjis::LookAlikes::Fold). A UTF-8 file
    whose bytes would read back as Shift-JIS gets a byte order mark. */
WriteResult encode(const QList<ClipEntry> &entries, QByteArray *bytes,
                   Encoding encoding = Encoding::ShiftJis);

/** Replaces the file at `path` with `entries`, atomically. When an entry cannot be held in
    Shift-JIS nothing is written and the file stays as it was. */
WriteResult write(const QString &path, const QList<ClipEntry> &entries,
                  Encoding encoding = Encoding::ShiftJis);

} // namespace clipfile
