// Whether a picture file's bytes are whole: a BMP or GIF cut short (an interrupted copy or
// download) decodes in Qt to a picture with its lower part missing or undefined, so the character
// window shows the error picture for it instead.
#pragma once

#include <cstdint>
#include <string_view>

// The largest picture file the character window reads, in bytes. The decoded picture is held to
// 64 MB (32 bits a pixel); an uncompressed BMP of that size, with its header, stays below this.
inline constexpr std::int64_t kPictureFileByteLimit = std::int64_t{65} * 1024 * 1024;

// False when the bytes are a BMP or a GIF whose structure ends before its pixel data does.
// Other formats, and files too damaged to be recognised as BMP or GIF, are left to the decoder
// (true), which fails on them by itself.
bool PictureDataComplete(std::string_view bytes);
