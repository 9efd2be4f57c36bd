// Reading and writing a clip data file of 30 entries of Japanese text, against the floors of
// converting the same bytes with iconv alone and of saving them already encoded.
// Argument: MiB of Shift-JIS per entry.

#include "files/clipfile.h"
#include "platform/filesystem.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <iconv.h>

#include <limits>
#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QTemporaryDir dir;

struct Sample { QList<ClipEntry> entries; QByteArray bytes; QString path; };

const Sample &sample(benchmark::State &state)
{
    static std::map<int64_t, Sample> cache;
    Sample &s = cache[state.range(0)];
    if (s.bytes.isEmpty()) { // text as people keep it: kanji, kana, half-width katakana and ASCII
        const QString lines = u"いつもお世話になっております。株式会社サンプルの山田です。\r\nｶﾀｶﾅ ﾊﾝｶｸ ﾃｷｽﾄ ﾓ ｽｺｼ ﾏｻﾞﾘﾏｽ。\r\n"
                              "〒100-0001 東京都千代田区千代田①－②　髙橋様\r\nPlease find the attached file (report_1.pdf).\r\n\r\n"_s;
        for (int i = 0; i < clipfile::maxEntries; ++i) // 187 bytes a repeat
            s.entries.append({u"定型文%1"_s.arg(i), lines.repeated(int(state.range(0) * 1024 * 1024 / 187)).chopped(2)});
        s.path = dir.filePath(u"sample%1.cdt"_s.arg(state.range(0)));
        if (!clipfile::encode(s.entries, &s.bytes).ok() || !filesystem::writeWholeFile(s.path, s.bytes))
            qFatal("cannot make the sample");
    }
    state.counters["file_MiB"] = double(s.bytes.size()) / (1024 * 1024);
    state.SetBytesProcessed(int64_t(state.max_iterations) * s.bytes.size());
    return s;
}

void IconvFloor(benchmark::State &state) // one iconv call into a buffer allocated beforehand
{
    const Sample &s = sample(state);
    std::vector<char16_t> out(size_t(s.bytes.size()));
    for (auto _ : state) {
        iconv_t cd = iconv_open("UTF-16LE", "CP932");
        char *in = const_cast<char *>(s.bytes.data()), *o = reinterpret_cast<char *>(out.data());
        size_t inLeft = size_t(s.bytes.size()), outLeft = out.size() * sizeof(char16_t);
        if (iconv(cd, &in, &inLeft, &o, &outLeft) == size_t(-1))
            state.SkipWithError("iconv failed");
        iconv_close(cd);
    }
}

void Read(benchmark::State &state) // what loading costs: read, hash, decode, parse
{
    const Sample &s = sample(state);
    // Without the size limit, so the 10x file is read too.
    for (auto _ : state)
        benchmark::DoNotOptimize(clipfile::read(s.path, std::numeric_limits<qint64>::max()));
}

void Write(benchmark::State &state) // what saving costs: encode, write, sync, rename
{
    const Sample &s = sample(state);
    for (auto _ : state)
        if (!clipfile::write(dir.filePath(u"written.cdt"_s), s.entries).ok())
            state.SkipWithError("write failed");
}

void SaveFloor(benchmark::State &state) // the disk's part of saving: the same bytes, the same replace
{
    const Sample &s = sample(state);
    for (auto _ : state)
        if (!filesystem::writeWholeFile(dir.filePath(u"saved.cdt"_s), s.bytes))
            state.SkipWithError("save failed");
}

} // namespace

// Processor time, steadier on a shared machine; saving waits for the disk and counts the clock.
#define SNIPDECK_BENCH(name) BENCHMARK(name)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->MinTime(1.0)
SNIPDECK_BENCH(IconvFloor);
SNIPDECK_BENCH(Read);
SNIPDECK_BENCH(Write)->UseRealTime();
SNIPDECK_BENCH(SaveFloor)->UseRealTime();
BENCHMARK_MAIN();
