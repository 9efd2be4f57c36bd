#pragma once

#include "app/limits.h"
#include "files/knowncontent.h"

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

/** A file larger than this is refused before it is read: no one keeps 30 snippets this
    long, and reading a file picked by mistake could take all the memory there is. */
inline constexpr qint64 maxFileSize = 64 * 1024 * 1024;

/** Parses decoded file text into its entries. A line ends at CR LF, a lone CR or a lone
    LF; an entry's lines are joined with CR LF whatever ended them in the file. */
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

/** The text of a file's bytes in `encoding`, without the byte order marks it starts with. */
QString decode(QByteArrayView bytes, Encoding encoding);

/** How a clip data file's lines end. */
enum class LineEnd {
    CrLf, ///< the program's own files, every file it creates, and any file with a CR in it
    Lf,   ///< as a Linux text editor saves it
};

/** The line ends a file's bytes are written back with: LF when every line ends in LF. */
LineEnd detectLineEnd(QByteArrayView bytes);

struct ReadResult
{
    enum class Status { Ok, Missing, Unreadable, TooLarge };
    Status status = Status::Ok;
    QList<ClipEntry> entries;
    Encoding encoding = Encoding::ShiftJis;
    LineEnd lineEnd = LineEnd::CrLf;
    QString error;
    ContentDigest digest; ///< of the bytes the entries came from, for a file read
};

/** Where a file's bytes come from while it is read: the file open for reading (or, in a
    test, bytes that change as another program's save would change them). */
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    /** The size the file says it has now; it may hold more or less by the time it is read. */
    virtual qint64 size() = 0;
    /** Reads up to `most` bytes into `into`: how many, 0 at the end, -1 on failure. */
    virtual qint64 read(char *into, qint64 most) = 0;
    virtual QString errorString() const = 0;
};

/** Reads a clip data file in the encoding it is in: all its bytes at once through one
    handle, the entries and the digest both from those bytes. One over `maxSize`, or
    growing beyond it while it is read, is not read. */
ReadResult read(const QString &path, qint64 maxSize = maxFileSize);
/** read() on bytes from `source`. */
ReadResult readFrom(ByteSource &source, qint64 maxSize = maxFileSize);
/** The entries of a clip data file's bytes, read in the encoding they are in: what
    parse() makes of their text, decoded entry by entry into the texts themselves. Looked
    through `piece` bytes at a time as a file is (all at once when 0). */
ReadResult parseBytes(QByteArrayView bytes, qsizetype piece = 0);
/** The digest of the file at `path`, read a piece at a time; one over maxFileSize is not
    read. Only `status`, `error` and `digest` are filled in. */
ReadResult digest(const QString &path);

struct WriteResult
{
    enum class Status { Ok, Unencodable, Failed };
    Status status = Status::Ok;
    int entryIndex = -1; ///< the entry Shift-JIS cannot hold, for Unencodable (UTF-8 holds any)
    QString error;       ///< the system's reason, for Failed
    ContentDigest digest; ///< of the bytes written, for Ok

    bool ok() const { return status == Status::Ok; }
};

/** Encodes `entries`, or reports the first entry that Shift-JIS cannot hold. Look-alikes
    go into Shift-JIS as the code page's characters (sjis::LookAlikes::Fold). A UTF-8 file
    whose bytes would read back as Shift-JIS gets a byte order mark. Lines end as `lineEnd`
    says. */
WriteResult encode(const QList<ClipEntry> &entries, QByteArray *bytes,
                   Encoding encoding = Encoding::ShiftJis, LineEnd lineEnd = LineEnd::CrLf);

/** Replaces the file at `path` with `entries`, atomically. When an entry cannot be held in
    Shift-JIS nothing is written and the file stays as it was. */
WriteResult write(const QString &path, const QList<ClipEntry> &entries,
                  Encoding encoding = Encoding::ShiftJis, LineEnd lineEnd = LineEnd::CrLf);

} // namespace clipfile
