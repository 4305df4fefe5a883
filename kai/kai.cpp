#include "kai.h"
#include "kaifile.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#define KAI_EXPORT __attribute__((visibility("default")))

namespace {

constexpr char kMagic[8] = {'\x89', 'K', 'I', 'A', '\r', '\n', '\x1a', '\n'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 20;

enum class Part { Picture, Sound };

void putNumber(unsigned char *at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t takeNumber(const unsigned char *at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

bool validPart(const char *data, int size)
{
    return size >= 0 && (data != nullptr || size == 0);
}

bool writeAll(std::FILE *file, const void *data, std::size_t size)
{
    return size == 0 || std::fwrite(data, 1, size, file) == size;
}

bool writeFile(
    const std::string &name, const char *picture, int pictureSize, const char *sound, int soundSize)
{
    unsigned char header[kHeaderSize];
    std::memcpy(header, kMagic, sizeof kMagic);
    putNumber(header + 8, kVersion);
    putNumber(header + 12, static_cast<std::uint32_t>(pictureSize));
    putNumber(header + 16, static_cast<std::uint32_t>(soundSize));

    std::FILE *file = std::fopen(name.c_str(), "wb");
    if (!file)
        return false;
    bool written = writeAll(file, header, sizeof header)
        && writeAll(file, picture, static_cast<std::size_t>(pictureSize))
        && writeAll(file, sound, static_cast<std::size_t>(soundSize));
    // A full disk may show only when the buffer goes out.
    written = std::fflush(file) == 0 && written;
    return std::fclose(file) == 0 && written;
}

// The offset and length of one part, or false when the file is not a ".kia" file of ours
// whose lengths add up to its size exactly.
bool locate(const KaiFile &file, Part part, std::uint64_t *offset, std::uint32_t *length)
{
    unsigned char header[kHeaderSize];
    if (file.size() < kHeaderSize || !file.read(0, reinterpret_cast<char *>(header), kHeaderSize))
        return false;
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0 || takeNumber(header + 8) != kVersion)
        return false;
    const std::uint32_t pictureSize = takeNumber(header + 12);
    const std::uint32_t soundSize = takeNumber(header + 16);
    if (pictureSize > INT_MAX || soundSize > INT_MAX)
        return false;
    if (std::uint64_t(kHeaderSize) + pictureSize + soundSize != file.size())
        return false;
    *offset = part == Part::Picture ? kHeaderSize : kHeaderSize + std::uint64_t(pictureSize);
    *length = part == Part::Picture ? pictureSize : soundSize;
    return true;
}

// The bytes handed out last are given back first: a reader holds one part at most, and none
// once the caller has released it with a null name.
const char *readPart(const char *fileName, int *size, Part part, std::vector<char> &buffer)
{
    std::vector<char>().swap(buffer);
    if (!size)
        return nullptr;
    *size = 0;
    if (!fileName)
        return nullptr;
    const KaiFile file(fileName);
    std::uint64_t offset = 0;
    std::uint32_t length = 0;
    if (!file.isOpen() || !locate(file, part, &offset, &length))
        return nullptr;
    try {
        buffer.resize(length + 1u);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    if (!file.read(offset, buffer.data(), length)) {
        std::vector<char>().swap(buffer);
        return nullptr;
    }
    *size = static_cast<int>(length);
    return buffer.data();
}

} // namespace

extern "C" {

// The names are the library's interface; they are reached only through its handle.
KAI_EXPORT int write(
    const char *fileName, const char *picture, int pictureSize, const char *sound, int soundSize)
{
    if (!fileName || !validPart(picture, pictureSize) || !validPart(sound, soundSize))
        return -1;
    try {
        const std::string name(fileName);
        const std::string part = name + ".part";
        if (!writeFile(part, picture, pictureSize, sound, soundSize)
            || std::rename(part.c_str(), name.c_str()) != 0) {
            std::remove(part.c_str());
            return -1;
        }
    } catch (const std::bad_alloc &) {
        return -1;
    }
    return 0;
}

KAI_EXPORT const char *readImageData(const char *fileName, int *size)
{
    thread_local std::vector<char> buffer;
    return readPart(fileName, size, Part::Picture, buffer);
}

KAI_EXPORT const char *readAudioData(const char *fileName, int *size)
{
    thread_local std::vector<char> buffer;
    return readPart(fileName, size, Part::Sound, buffer);
}

} // extern "C"

static_assert(std::is_same<decltype(&write), KaiWriteFunction>::value, "write as in kai.h");
static_assert(std::is_same<decltype(&readImageData), KaiReadFunction>::value, "as in kai.h");
static_assert(std::is_same<decltype(&readAudioData), KaiReadFunction>::value, "as in kai.h");
