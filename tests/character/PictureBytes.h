// BMP and GIF files built byte by byte, for the checks of whole, cut and hostile picture files.
#pragma once

#include <cstdint>
#include <string>

// `bytes` bytes of v, least significant first.
inline void Put(std::string& s, std::uint32_t v, int bytes = 4) {
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>((v >> (8 * i)) & 255);
}

// A BMP with a 40-byte header, `colours` palette entries and the given pixel data.
inline std::string Bmp(std::int32_t width, std::int32_t height, int bits, int compression, const std::string& data,
                       int colours = 0) {
    const auto size = static_cast<std::uint32_t>(data.size()), at = 14 + 40 + 4 * static_cast<std::uint32_t>(colours);
    std::string s = "BM";
    for (const std::uint32_t v : {at + size, 0u, at, 40u, static_cast<std::uint32_t>(width),
                                  static_cast<std::uint32_t>(height), 1u | static_cast<std::uint32_t>(bits) << 16,
                                  static_cast<std::uint32_t>(compression), size, 2835u, 2835u,
                                  static_cast<std::uint32_t>(colours), 0u})
        Put(s, v);
    return s + std::string(4 * static_cast<std::size_t>(colours), '\x40') + data;
}

// The smallest whole GIF: one transparent pixel, with a graphic control extension and the trailer.
// The screen's size is at bytes 6 to 9, the picture's at 32 to 35.
inline const std::string kGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                              "\x21\xf9\x04\x01\x00\x00\x00\x00"
                              "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                              43);
