// A BMP or GIF cut short anywhere is told from a whole one; other files are left to the decoder.
#include "character/PictureFile.h"

#include "character/PictureBytes.h"

#include <gtest/gtest.h>

#include <string>

TEST(PictureFile, EveryCutOfAWholeFileIsTold) {
    // Rows of 4 pixels of 24 bits are 12 bytes: no padding, so every byte counts.
    const std::string plain = Bmp(4, 3, 24, 0, std::string(36, '\x7f'));
    // Two rows coded in runs: 4 pixels, end of row; 4 pixels given one by one, end of picture.
    const std::string rle8 = Bmp(4, 2, 8, 1, std::string("\x04\x01\x00\x00\x00\x04\x01\x02\x03\x04\x00\x01", 12), 4);
    const std::string rle4 = Bmp(5, 1, 4, 2, std::string("\x00\x05\x12\x34\x50\x00\x00\x01", 8), 16);
    std::string os2 = "BM";
    Put32(os2, 14 + 12 + 6 + 8);
    Put32(os2, 0);
    Put32(os2, 14 + 12 + 6);
    Put32(os2, 12);
    Put16(os2, 2); // width
    Put16(os2, 2); // height
    Put16(os2, 1);
    Put16(os2, 8);
    os2 += std::string(6, '\0') + std::string(8, '\x01'); // two colours, two rows of 2 padded to 4
    const std::string twoBlocks = kGif.substr(0, 38) + std::string("\x01\x44\x01\x01\x00\x3b", 6); // data in 2 blocks

    const struct {
        const char* what;
        std::string bytes;
        std::size_t wholeFrom; // the shortest cut that still counts as whole
    } cases[] = {{"plain BMP", plain, plain.size()},
                 {"RLE8 BMP", rle8, rle8.size()},
                 {"RLE4 BMP", rle4, rle4.size()},
                 {"OS/2 BMP", os2, os2.size() - 2}, // the last row's padding may be missing
                 {"GIF", kGif, kGif.size() - 1},    // so may the closing mark
                 {"GIF with its data in two blocks", twoBlocks, twoBlocks.size() - 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(PictureDataComplete(c.bytes));
        // Shorter than its signature a file is no BMP or GIF any more, and the decoder refuses it.
        const std::size_t signature = c.bytes[0] == 'B' ? 2 : 3;
        for (std::size_t n = signature; n < c.bytes.size(); ++n)
            EXPECT_EQ(PictureDataComplete(std::string_view(c.bytes).substr(0, n)), n >= c.wholeFrom) << n << " bytes";
    }
}

TEST(PictureFile, HeadersClaimingHugePicturesNeedTheirData) {
    // 100,000 x 100,000 pixels of 24 bits with no pixel data, and the same upside down.
    EXPECT_FALSE(PictureDataComplete(Bmp(100000, 100000, 24, 0, std::string(1000, '\0'))));
    EXPECT_FALSE(PictureDataComplete(Bmp(100000, -100000, 24, 0, std::string(1000, '\0'))));
    EXPECT_FALSE(PictureDataComplete(Bmp(2147483647, -2147483647 - 1, 32, 3, "")));
    // Coded in runs that end at once, such a file is whole; its size is the decoder's to refuse.
    EXPECT_TRUE(PictureDataComplete(Bmp(100000, 100000, 8, 1, std::string("\x00\x01", 2), 2)));
    // An escape that runs off the end, or a run whose pixels are cut.
    EXPECT_FALSE(PictureDataComplete(Bmp(4, 4, 8, 1, std::string("\x00\x02\x01", 3), 2)));
    EXPECT_FALSE(PictureDataComplete(Bmp(4, 4, 8, 1, std::string("\x00\xff\x01\x02", 4), 2)));
    // A GIF screen of 65,535 x 65,535 (the format's largest) around one whole pixel.
    std::string gif = kGif;
    gif[6] = gif[7] = gif[8] = gif[9] = '\xff';
    EXPECT_TRUE(PictureDataComplete(gif));
    // A colour table bigger than the file.
    std::string table = kGif.substr(0, 13);
    table[10] = '\x87';
    EXPECT_FALSE(PictureDataComplete(table));
    // A GIF with no picture in it at all; files of other kinds are the decoder's to judge.
    EXPECT_FALSE(PictureDataComplete(kGif.substr(0, 19) + ";"));
    for (const std::string bytes : {"", "B", "\x89PNG\r\n\x1a\n", "GI"})
        EXPECT_TRUE(PictureDataComplete(bytes)) << bytes;
}
