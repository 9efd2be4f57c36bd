// Helper process for the crash-safety tests: saves clip data files through the program's
// own writer until it is killed, or saves once under a file-size limit.

#include "crashversions.h"

#include "files/clipfile.h"

#include <QString>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: clipwriter loop PATH VERSION | clipwriter limited PATH BYTES\n");
    return 64;
}

// Saves VERSION+1, VERSION+2, ... and reports each version once its save has returned.
int loop(const QString &path, int version)
{
    for (;;) {
        ++version;
        const auto result = clipfile::write(path, crashversions::entries(version));
        if (!result.ok()) {
            std::fprintf(stdout, "fail\t%s\n", qPrintable(result.error));
            return 2;
        }
        std::fprintf(stdout, "%d\n", version);
        std::fflush(stdout);
    }
}

// Saves version 1 with files limited to BYTES and reports the writer's result.
int limited(const QString &path, long long bytes)
{
    // Past the limit the kernel sends SIGXFSZ, whose default ends the process; ignored,
    // the write fails with EFBIG, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        std::perror("setrlimit");
        return 3;
    }
    const auto result = clipfile::write(path, crashversions::entries(1));
    switch (result.status) {
    case clipfile::WriteResult::Status::Ok:
        std::fprintf(stdout, "Ok\n");
        break;
    case clipfile::WriteResult::Status::Unencodable:
        std::fprintf(stdout, "Unencodable\n");
        break;
    case clipfile::WriteResult::Status::Failed:
        std::fprintf(stdout, "Failed\t%s\n", qPrintable(result.error));
        break;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4)
        return usage();
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "loop") == 0)
        return loop(path, std::atoi(argv[3]));
    if (std::strcmp(argv[1], "limited") == 0)
        return limited(path, std::atoll(argv[3]));
    return usage();
}
