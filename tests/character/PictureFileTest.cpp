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
    const std::string rle4 = Bmp(5, 1, 4, 2, std::string("\x00\x05\x12\x34\x50\x00\x00\x01", 8), 16); // padded run
    // OS/2 header of 12 bytes, 2 x 2 pixels of 8 bits: two colours, two rows of 2 padded to 4.
    const std::string os2 = std::string("BM\x28\0\0\0\0\0\0\0\x20\0\0\0\x0c\0\0\0\x02\0\x02\0\x01\0\x08\0", 26) +
                            std::string(6, '\0') + std::string(8, '\x01');
    const std::string twoBlocks = kGif.substr(0, 38) + std::string("\x01\x44\x01\x01\x00\x3b", 6); // data in 2 blocks
    const std::pair<std::string, std::size_t> cases[] = {
        // The file, and the shortest cut that still counts as whole.
        {plain, plain.size()}, {rle8, rle8.size()}, {rle4, rle4.size()},
        {os2, os2.size() - 2}, // the last row's padding may be missing
        {kGif, kGif.size() - 1}, {twoBlocks, twoBlocks.size() - 1}}; // so may the closing mark
    for (const auto& [bytes, wholeFrom] : cases) {
        // Shorter than its signature a file is no BMP or GIF any more, and the decoder refuses it.
        for (std::size_t n = bytes[0] == 'B' ? 2 : 3; n <= bytes.size(); ++n)
            EXPECT_EQ(PictureDataComplete(std::string_view(bytes).substr(0, n)), n >= wholeFrom) << n << " of " << bytes.size();
    }
}

TEST(PictureFile, HeadersClaimingHugePicturesNeedTheirData) {
    std::string hugeScreen = kGif, hugeTable = kGif.substr(0, 13);
    hugeScreen[6] = hugeScreen[7] = hugeScreen[8] = hugeScreen[9] = '\xff'; // 65,535 x 65,535 around one pixel
    hugeTable[10] = '\x87';                                                 // a colour table bigger than the file
    const std::pair<std::string, bool> cases[] = {
        {Bmp(100000, 100000, 24, 0, std::string(1000, '\0')), false}, // 24 bits a pixel with no pixel data
        {Bmp(100000, -100000, 24, 0, std::string(1000, '\0')), false}, // the same upside down
        {Bmp(2147483647, -2147483647 - 1, 32, 3, ""), false},
        // Coded in runs that end at once, such a file is whole; its size is the decoder's to refuse.
        {Bmp(100000, 100000, 8, 1, std::string("\x00\x01", 2), 2), true},
        {Bmp(4, 4, 8, 1, std::string("\x00\x02\x01", 3), 2), false},     // an escape that runs off the end
        {Bmp(4, 4, 8, 1, std::string("\x00\xff\x01\x02", 4), 2), false}, // a run whose pixels are cut
        {hugeScreen, true}, {hugeTable, false},
        {kGif.substr(0, 19) + ";", false}, // no picture in it at all
        // Files of other kinds are the decoder's to judge.
        {"", true}, {"B", true}, {"\x89PNG\r\n\x1a\n", true}, {"GI", true}};
    for (const auto& [bytes, complete] : cases)
        EXPECT_EQ(PictureDataComplete(bytes), complete) << bytes.size() << " bytes";
}
