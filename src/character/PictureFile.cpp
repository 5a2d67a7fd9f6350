// Whether a BMP or GIF file's bytes are whole.
#include "character/PictureFile.h"

#include <cstddef>
#include <cstdlib>

namespace {

std::uint32_t U16(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}

std::uint32_t U32(std::string_view b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

std::int64_t I32(std::string_view b, std::size_t at) {
    return static_cast<std::int32_t>(U32(b, at));
}

// Run-length coded rows: the stream must reach its end-of-picture mark, or end after every row.
bool RleComplete(std::string_view b, std::uint64_t pos, std::int64_t rows, bool fourBits) {
    std::int64_t rowsEnded = 0;
    const std::uint64_t size = b.size();
    for (;;) {
        if (pos == size)
            return rowsEnded >= rows;
        if (pos + 2 > size)
            return false;
        const unsigned count = static_cast<unsigned char>(b[pos]);
        const unsigned value = static_cast<unsigned char>(b[pos + 1]);
        pos += 2;
        if (count > 0)
            continue; // a run of one colour
        if (value == 0) {
            ++rowsEnded;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (pos + 2 > size)
                return false;
            rowsEnded += static_cast<unsigned char>(b[pos + 1]);
            pos += 2;
        } else {
            // `value` pixels given one by one, padded to an even number of bytes.
            std::uint64_t bytes = fourBits ? (value + 1) / 2 : value;
            bytes += bytes & 1;
            if (pos + bytes > size)
                return false;
            pos += bytes;
        }
    }
}

bool BmpComplete(std::string_view b) {
    constexpr std::size_t kFileHeader = 14;
    if (b.size() < kFileHeader + 4)
        return false;
    const std::uint64_t dataAt = U32(b, 10);
    const std::uint64_t infoSize = U32(b, 14);
    std::int64_t width = 0, height = 0;
    std::uint32_t bitsPerPixel = 0, compression = 0;
    if (infoSize == 12) {
        if (b.size() < kFileHeader + 12)
            return false;
        width = U16(b, 18);
        height = U16(b, 20);
        bitsPerPixel = U16(b, 24);
    } else if (infoSize >= 40) {
        if (b.size() < kFileHeader + 40)
            return false;
        width = I32(b, 18);
        height = I32(b, 22);
        bitsPerPixel = U16(b, 28);
        compression = U32(b, 30);
    } else {
        return true; // not a header the decoder knows; it refuses the file itself
    }
    if (kFileHeader + infoSize > b.size())
        return false;
    const std::int64_t rows = std::llabs(height);
    if (width <= 0 || rows == 0 || bitsPerPixel == 0)
        return true;
    switch (compression) {
    case 0: // plain rows
    case 3: // plain rows with colour masks
    case 6: {
        if (bitsPerPixel > 32)
            return true; // no such BMP; the decoder refuses it
        const std::uint64_t bits = static_cast<std::uint64_t>(width) * bitsPerPixel;
        const std::uint64_t stride = (bits + 31) / 32 * 4;
        // The last row's padding may be left out; its pixels may not.
        const std::uint64_t lastRow = (bits + 7) / 8;
        if (dataAt > b.size() || b.size() - dataAt < lastRow)
            return false;
        return static_cast<std::uint64_t>(rows - 1) <= (b.size() - dataAt - lastRow) / stride;
    }
    case 1:
    case 2:
        return dataAt <= b.size() && RleComplete(b, dataAt, rows, compression == 2);
    default:
        return true;
    }
}

// Skips a chain of data sub-blocks (a length byte, that many bytes, ... a zero length).
bool SkipSubBlocks(std::string_view b, std::uint64_t& pos) {
    for (;;) {
        if (pos >= b.size())
            return false;
        const unsigned length = static_cast<unsigned char>(b[pos]);
        ++pos;
        if (length == 0)
            return true;
        pos += length;
    }
}

bool GifComplete(std::string_view b) {
    constexpr std::size_t kHeader = 13; // signature, screen size, flags, background, aspect
    if (b.size() < kHeader)
        return false;
    std::uint64_t pos = kHeader;
    const unsigned screenFlags = static_cast<unsigned char>(b[10]);
    if (screenFlags & 0x80)
        pos += std::uint64_t{3} << ((screenFlags & 7) + 1);
    int images = 0;
    for (;;) {
        // The closing mark is optional in practice: a file that ends after a whole block is whole.
        if (pos >= b.size())
            return pos == b.size() && images > 0;
        const unsigned char introducer = static_cast<unsigned char>(b[pos]);
        if (introducer == 0x3B)
            return images > 0;
        if (introducer == 0x21) {
            pos += 2; // introducer, label
            if (!SkipSubBlocks(b, pos))
                return false;
        } else if (introducer == 0x2C) {
            if (pos + 10 > b.size())
                return false;
            const unsigned imageFlags = static_cast<unsigned char>(b[pos + 9]);
            pos += 10;
            if (imageFlags & 0x80)
                pos += std::uint64_t{3} << ((imageFlags & 7) + 1);
            pos += 1; // the code size of the compressed data
            if (!SkipSubBlocks(b, pos))
                return false;
            ++images;
        } else {
            return true; // not a block the decoder knows; it decides
        }
    }
}

} // namespace

bool PictureDataComplete(std::string_view bytes) {
    if (bytes.substr(0, 2) == "BM")
        return BmpComplete(bytes);
    if (bytes.substr(0, 3) == "GIF")
        return GifComplete(bytes);
    return true;
}
