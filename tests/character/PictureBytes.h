// BMP and GIF files built byte by byte, for the checks of whole, cut and hostile picture files.
#pragma once

#include <cstdint>
#include <string>

inline void Put16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 255);
    s += static_cast<char>((v >> 8) & 255);
}

inline void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A BMP with a 40-byte header, `colours` palette entries and the given pixel data.
inline std::string Bmp(std::int32_t width, std::int32_t height, int bits, int compression, const std::string& data,
                       int colours = 0) {
    std::string header = "BM";
    const std::uint32_t dataAt = 14 + 40 + 4 * colours;
    Put32(header, dataAt + static_cast<std::uint32_t>(data.size()));
    Put32(header, 0);
    Put32(header, dataAt);
    Put32(header, 40);
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    Put16(header, 1);
    Put16(header, static_cast<std::uint32_t>(bits));
    Put32(header, static_cast<std::uint32_t>(compression));
    Put32(header, static_cast<std::uint32_t>(data.size()));
    Put32(header, 2835);
    Put32(header, 2835);
    Put32(header, static_cast<std::uint32_t>(colours));
    Put32(header, 0);
    return header + std::string(4 * static_cast<std::size_t>(colours), '\x40') + data;
}

// The smallest whole GIF: one transparent pixel, with a graphic control extension and the trailer.
// The screen's size is at bytes 6 to 9, the picture's at 32 to 35.
inline const std::string kGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                              "\x21\xf9\x04\x01\x00\x00\x00\x00"
                              "\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b",
                              43);

// A GIF of four colours (0xRRGGBB) whose pixels are the digits 0 to 3 of `indices`, row by row;
// index `transparent` is marked transparent. A clear code before every second pixel keeps each code
// three bits wide, so the pixels need no compression.
inline std::string Gif(int width, int height, const std::uint32_t (&palette)[4], int transparent,
                       const std::string& indices) {
    std::string s = "GIF89a";
    Put16(s, static_cast<std::uint32_t>(width));
    Put16(s, static_cast<std::uint32_t>(height));
    s += std::string("\x81\0\0", 3);
    for (const std::uint32_t c : palette)
        s += {static_cast<char>(c >> 16), static_cast<char>(c >> 8), static_cast<char>(c)};
    s += std::string("\x21\xf9\x04\x01\0\0", 6) + static_cast<char>(transparent) + '\0' + '\x2c';
    Put32(s, 0);
    Put16(s, static_cast<std::uint32_t>(width));
    Put16(s, static_cast<std::uint32_t>(height));
    s += std::string("\0\x02", 2);
    std::string data;
    std::uint32_t bits = 0, count = 0;
    const auto code = [&](std::uint32_t c) {
        bits |= c << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            data += static_cast<char>(bits);
    };
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i % 2 == 0)
            code(4); // clear
        code(static_cast<std::uint32_t>(indices[i] - '0'));
    }
    code(5); // end
    if (count > 0)
        data += static_cast<char>(bits);
    for (std::size_t at = 0; at < data.size(); at += 255)
        s += static_cast<char>(data.substr(at, 255).size()) + data.substr(at, 255);
    return s + std::string("\0;", 2);
}
