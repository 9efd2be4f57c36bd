#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>

/** On failure says which property broke and aborts: libFuzzer (or the replay) keeps the input. */
#define FUZZ_CHECK(c) \
    do { if (!(c)) { std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #c); std::abort(); } } while (false)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

#ifdef FUZZ_REPLAY // without libFuzzer: runs the target over the files of the corpus folder argv[1]
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

int main(int, char **argv)
{
    int inputs = 0;
    for (const auto &entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
        ++inputs;
    }
    return std::printf("%d inputs ran\n", inputs) > 0 && inputs > 0 ? 0 : 1;
}
#endif
