#include "render/picture_check.h"

#include "render/image.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t bigEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// The CRC-32 of PNG chunks (polynomial 0xEDB88320), over type and data.
uint32_t chunkCrc(const unsigned char* p, size_t n)
{
    static uint32_t table[256];
    static const bool made = [] {
        for (uint32_t k = 0; k < 256; ++k) {
            uint32_t c = k;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[k] = c;
        }
        return true;
    }();
    (void)made;
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t k = 0; k < n; ++k)
        crc = table[(crc ^ p[k]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

bool damaged(const std::string& name, const char* why)
{
    std::fprintf(stderr, "Warning: picture %s is damaged (%s); it is not loaded\n", name.c_str(), why);
    return false;
}

} // namespace

bool picture_structure_ok(const unsigned char* bytes, size_t size, const std::string& name)
{
    if (!bytes || size == 0)
        return damaged(name, "empty file");
    if (size < sizeof kPngSignature || std::memcmp(bytes, kPngSignature, sizeof kPngSignature) != 0)
        return true;
    size_t at = sizeof kPngSignature;
    bool first = true;
    while (at < size) {
        // length, type, data, CRC
        if (size - at < 12)
            return damaged(name, "cut off inside a chunk header");
        const uint32_t length = bigEndian32(bytes + at);
        const unsigned char* type = bytes + at + 4;
        if (length > 0x7FFFFFFFu || size - at - 12 < length)
            return damaged(name, "a chunk runs past the end of the file");
        if (chunkCrc(type, size_t(length) + 4) != bigEndian32(type + 4 + length))
            return damaged(name, "a chunk's CRC does not match");
        if (first) {
            if (std::memcmp(type, "IHDR", 4) != 0 || length != 13)
                return damaged(name, "no image header first");
            const uint32_t width = bigEndian32(type + 4);
            const uint32_t height = bigEndian32(type + 8);
            if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide)
                return damaged(name, "picture size 0 or too large");
            first = false;
        }
        at += size_t(length) + 12;
        if (std::memcmp(type, "IEND", 4) == 0)
            return true;
    }
    return damaged(name, first ? "no chunks" : "no end chunk: cut off");
}

bool picture_file_ok(const std::string& path)
{
    std::vector<unsigned char> bytes;
    if (!LoadFileV(path.c_str(), bytes))
        return false;
    return picture_structure_ok(bytes.data(), bytes.size(), path);
}
