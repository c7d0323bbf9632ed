#include "tools/PngWriter.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kBitDepth = 8;
constexpr int kColourTypeRgb = 2;
constexpr int kColourTypeRgba = 6;
constexpr unsigned char kFilterNone = 0;

void PutBigEndian(std::vector<unsigned char>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back((value >> shift) & 0xFF);
}

// A chunk is its length, its type, its data and a CRC of type and data.
void PutChunk(std::vector<unsigned char>& out, const char* type,
              const std::vector<unsigned char>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, &out[start], static_cast<uInt>(out.size() - start));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<unsigned char>& pixels, std::string& error) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    if ((channels != 3 && channels != 4) || pixels.size() != rowBytes * height) {
        error = "picture size does not match its pixels";
        return false;
    }

    // Every row starts with its filter byte.
    std::vector<unsigned char> raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(kFilterNone);
        raw.insert(raw.end(), pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        error = "compression failed";
        return false;
    }
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.push_back(kBitDepth);
    header.push_back(channels == 4 ? kColourTypeRgba : kColourTypeRgb);
    header.insert(header.end(), {0, 0, 0});  // deflate, adaptive filtering, no interlace

    std::vector<unsigned char> file(std::begin(kSignature), std::end(kSignature));
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});

    std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
    if (!out) {
        error = "cannot open " + path + " for writing";
        return false;
    }
    if (std::fwrite(file.data(), 1, file.size(), out.get()) != file.size() ||
        std::fflush(out.get()) != 0) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
