// libFuzzer target of the ".kia" reader: every input is written to a file and read back
// through the library's entry points, as the program reads a file it was handed. Inputs
// starting with '#' also check that whatever is written reads back unchanged. The library is
// loaded as the program loads it, so its "write" never stands in for write(2) here either.

#include "kai.h"

#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Library
{
    KaiWriteFunction write;
    KaiReadFunction readImageData;
    KaiReadFunction readAudioData;
};

void *resolve(void *handle, const char *name)
{
    void *function = dlsym(handle, name);
    if (!function) {
        std::fprintf(stderr, "%s: %s\n", name, dlerror());
        std::abort();
    }
    return function;
}

const Library &library()
{
    static const Library functions = [] {
        void *handle = dlopen(KAI_FUZZ_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            std::fprintf(stderr, "%s\n", dlerror());
            std::abort();
        }
        return Library {reinterpret_cast<KaiWriteFunction>(resolve(handle, "write")),
            reinterpret_cast<KaiReadFunction>(resolve(handle, "readImageData")),
            reinterpret_cast<KaiReadFunction>(resolve(handle, "readAudioData"))};
    }();
    return functions;
}

// One file per fuzzing process, named by its start time: <unistd.h> and getpid() would bring
// in write(2) beside the library's own write.
const std::string &scratchFile()
{
    static const std::string name = [] {
        const char *folder = std::getenv("TMPDIR");
        const auto started = std::chrono::steady_clock::now().time_since_epoch().count();
        return std::string(folder && *folder ? folder : "/tmp") + "/fuzz-kia-"
            + std::to_string(started) + ".kia";
    }();
    return name;
}

void store(const std::string &name, const uint8_t *data, size_t size)
{
    std::FILE *file = std::fopen(name.c_str(), "wb");
    if (!file)
        std::abort();
    if (size && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
}

// Touches every byte handed out, so that a read past the buffer shows under the sanitizer.
unsigned checkPart(const char *data, int size, size_t fileSize)
{
    if (size < 0 || size_t(size) > fileSize || (!data && size != 0))
        std::abort();
    unsigned sum = 0;
    for (int i = 0; i < size; ++i)
        sum += static_cast<unsigned char>(data[i]);
    return sum;
}

void readBack(const std::string &name, size_t fileSize)
{
    int pictureSize = -1;
    const char *picture = library().readImageData(name.c_str(), &pictureSize);
    int soundSize = -1;
    const char *sound = library().readAudioData(name.c_str(), &soundSize);
    volatile unsigned sink
        = checkPart(picture, pictureSize, fileSize) + checkPart(sound, soundSize, fileSize);
    (void)sink;
    if (picture && sound && size_t(pictureSize) + size_t(soundSize) + 20 != fileSize)
        std::abort();
}

void roundTrip(const std::string &name, const uint8_t *data, size_t size)
{
    const int pictureSize = static_cast<int>(size / 2);
    const int soundSize = static_cast<int>(size - size / 2);
    const char *bytes = reinterpret_cast<const char *>(data);
    if (library().write(name.c_str(), bytes, pictureSize, bytes + pictureSize, soundSize) != 0)
        std::abort();
    int readSize = -1;
    const char *picture = library().readImageData(name.c_str(), &readSize);
    if (!picture || readSize != pictureSize || std::memcmp(picture, bytes, size_t(readSize)))
        std::abort();
    const char *sound = library().readAudioData(name.c_str(), &readSize);
    if (!sound || readSize != soundSize
        || std::memcmp(sound, bytes + pictureSize, size_t(readSize)))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string &name = scratchFile();
    if (size > 0 && data[0] == '#') {
        roundTrip(name, data + 1, size - 1);
        return 0;
    }
    store(name, data, size);
    readBack(name, size);
    return 0;
}
