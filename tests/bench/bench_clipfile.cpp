// Reading and writing a clip data file of 30 entries of Japanese text, against the floor of
// converting the same bytes with iconv alone. Argument: MiB of Shift-JIS per entry.

#include "files/clipfile.h"
#include "platform/filesystem.h"
#include "platform/sjiscodec.h"

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <iconv.h>

#include <map>
#include <memory>
#include <vector>

namespace {

constexpr qsizetype MiB = 1024 * 1024;

struct Sample
{
    QList<ClipEntry> entries;
    QByteArray bytes; ///< the file's content
    QString path;     ///< the file, written once
};

QTemporaryDir &tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

/** Text as people keep it: kanji, kana, half-width katakana and ASCII, in short lines. */
QString japaneseText(qsizetype sjisBytes, int seed)
{
    static const QString lines[] = {
        QStringLiteral("いつもお世話になっております。株式会社サンプルの山田です。"),
        QStringLiteral("ご注文番号 No.%1 の件、本日発送いたしました。"),
        QStringLiteral("ｶﾀｶﾅ ﾊﾝｶｸ ﾃｷｽﾄ ﾓ ｽｺｼ ﾏｻﾞﾘﾏｽ。"),
        QStringLiteral("〒100-0001 東京都千代田区千代田①－②　髙橋様"),
        QStringLiteral("Please find the attached file (report_%1.pdf)."),
        QString(),
    };
    QString text;
    qsizetype bytes = 0;
    for (int i = seed; bytes < sjisBytes; ++i) {
        QString line = lines[i % std::size(lines)];
        if (line.contains(u"%1"))
            line = line.arg(i);
        bytes += sjis::encode(line).value_or(QByteArray()).size() + 2;
        if (!text.isEmpty())
            text += u"\r\n";
        text += line;
    }
    return text;
}

const Sample &sample(int mibPerEntry)
{
    static std::map<int, std::unique_ptr<Sample>> cache;
    auto &slot = cache[mibPerEntry];
    if (!slot) {
        slot = std::make_unique<Sample>();
        for (int i = 0; i < clipfile::maxEntries; ++i)
            slot->entries.append({QStringLiteral("定型文%1").arg(i), japaneseText(mibPerEntry * MiB, i)});
        clipfile::encode(slot->entries, &slot->bytes);
        slot->path = tempDir().filePath(QStringLiteral("sample%1.cdt").arg(mibPerEntry));
        QFile file(slot->path);
        if (!file.open(QIODevice::WriteOnly) || file.write(slot->bytes) != slot->bytes.size())
            qFatal("cannot write %s", qPrintable(slot->path));
    }
    return *slot;
}

void finish(benchmark::State &state, const Sample &s)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * s.bytes.size());
    state.counters["file_MiB"] = static_cast<double>(s.bytes.size()) / MiB;
}

// The floor: one iconv call from Shift-JIS to UTF-16 into a buffer allocated beforehand.
void IconvFloor(benchmark::State &state)
{
    const Sample &s = sample(static_cast<int>(state.range(0)));
    std::vector<char16_t> out(static_cast<size_t>(s.bytes.size()));
    for (auto _ : state) {
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        char *in = const_cast<char *>(s.bytes.data());
        size_t inLeft = static_cast<size_t>(s.bytes.size());
        char *o = reinterpret_cast<char *>(out.data());
        size_t outLeft = out.size() * sizeof(char16_t);
        if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<size_t>(-1))
            state.SkipWithError("iconv failed");
        iconv_close(cd);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    finish(state, s);
}

void Decode(benchmark::State &state)
{
    const Sample &s = sample(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(sjis::decode(s.bytes));
    finish(state, s);
}

void Parse(benchmark::State &state)
{
    const Sample &s = sample(static_cast<int>(state.range(0)));
    const QString text = sjis::decode(s.bytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(clipfile::parse(text));
    finish(state, s);
}

// What loading a file costs: read, decode, parse.
void Read(benchmark::State &state)
{
    const Sample &s = sample(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto result = clipfile::read(s.path);
        if (result.entries.size() != clipfile::maxEntries)
            state.SkipWithError("wrong entry count");
        benchmark::DoNotOptimize(result);
    }
    finish(state, s);
}

void Encode(benchmark::State &state)
{
    const Sample &s = sample(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QByteArray bytes;
        if (!clipfile::encode(s.entries, &bytes).ok())
            state.SkipWithError("encode failed");
        benchmark::DoNotOptimize(bytes);
    }
    finish(state, s);
}

// What saving costs: encode, then the atomic replace (written, synced, renamed).
void Write(benchmark::State &state)
{
    const Sample &s = sample(static_cast<int>(state.range(0)));
    const QString path = tempDir().filePath(QStringLiteral("written.cdt"));
    for (auto _ : state) {
        if (!clipfile::write(path, s.entries).ok())
            state.SkipWithError("write failed");
    }
    finish(state, s);
}

// The disk's part of saving: the same bytes, already encoded, through the same atomic
// replace. How it grows with the size is the disk's and the page cache's doing.
void SaveFloor(benchmark::State &state)
{
    const Sample &s = sample(static_cast<int>(state.range(0)));
    const QString path = tempDir().filePath(QStringLiteral("saved.cdt"));
    for (auto _ : state) {
        if (!filesystem::writeWholeFile(path, s.bytes))
            state.SkipWithError("save failed");
    }
    finish(state, s);
}

} // namespace

// Processor time, steadier on a shared machine; the write waits for the disk, so it counts
// the time on the clock.
#define SNIPDECK_BENCH(name) \
    BENCHMARK(name)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(1.0)

SNIPDECK_BENCH(IconvFloor);
SNIPDECK_BENCH(Decode);
SNIPDECK_BENCH(Parse);
SNIPDECK_BENCH(Read);
SNIPDECK_BENCH(Encode);
SNIPDECK_BENCH(Write)->UseRealTime();
SNIPDECK_BENCH(SaveFloor)->UseRealTime();

BENCHMARK_MAIN();
