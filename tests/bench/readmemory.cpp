// What reading a clip data file costs in memory: the most the process held while reading,
// less what it held before, against the file's size.
// Usage: readmemory make FILE sjis|ascii MiB   (a sample like the benchmark's, or plain ASCII)
//        readmemory read FILE

#include "files/clipfile.h"
#include "platform/filesystem.h"

#include <QString>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

static double maxRssMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

int main(int argc, char **argv)
{
    if (argc >= 5 && std::strcmp(argv[1], "make") == 0) {
        const bool ascii = std::strcmp(argv[3], "ascii") == 0;
        const QString lines = ascii ? u"Please find the attached file (report_1.pdf).\r\n"_s
                                    : u"いつもお世話になっております。株式会社サンプルの山田です。\r\nｶﾀｶﾅ ﾊﾝｶｸ ﾃｷｽﾄ ﾓ ｽｺｼ ﾏｻﾞﾘﾏｽ。\r\n"
                                      "〒100-0001 東京都千代田区千代田①－②　髙橋様\r\nPlease find the attached file (report_1.pdf).\r\n\r\n"_s;
        const qsizetype perEntry = qsizetype(std::atof(argv[4]) * 1024 * 1024 / clipfile::maxEntries);
        const qsizetype lineBytes = ascii ? lines.size() : 187;
        QList<ClipEntry> entries;
        for (int i = 0; i < clipfile::maxEntries; ++i)
            entries.append({u"定型文%1"_s.arg(i), lines.repeated(perEntry / lineBytes).chopped(2)});
        return clipfile::write(QString::fromLocal8Bit(argv[2]), entries).ok() ? 0 : 1;
    }
    if (argc < 3 || std::strcmp(argv[1], "read") != 0)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    const double fileMiB = double(filesystem::stamp(path).value().size) / (1024 * 1024);
    const double before = maxRssMiB();
    const clipfile::ReadResult read = clipfile::read(path);
    const double extra = maxRssMiB() - before;
    std::printf("%-12s %6.1f MiB file, %2lld entries: %6.1f MiB extra at most, %.2fx its size\n",
                argv[2] + (std::strrchr(argv[2], '/') ? std::strrchr(argv[2], '/') - argv[2] + 1 : 0),
                fileMiB, static_cast<long long>(read.entries.size()), extra, extra / fileMiB);
    return read.status == clipfile::ReadResult::Status::Ok ? 0 : 1;
}
