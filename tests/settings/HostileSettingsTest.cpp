// Hostile values in the settings file: every whole-number key at the ends of its range, beyond
// 32 bits, not a number or empty; names and titles of every length; colour pieces that are odd
// numbers. Each is read by its rule, and what is saved reads back the same and saves the same.
#include "settings/Configuration.h"
#include "settings/PrivateProfile.h"
#include "settings/TestFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The whole-number keys of a character section and the record field each fills.
struct IntegerKey {
    const char* name;
    std::int64_t (*field)(const CharacterRecord&);
};

// clang-format off
const IntegerKey kIntegerKeys[] = {
    {"Fixed_To", [](const CharacterRecord& r) -> std::int64_t { return r.mFixed; }},
    {"Flee", [](const CharacterRecord& r) -> std::int64_t { return r.mFlee; }},
    {"Speed_X", [](const CharacterRecord& r) -> std::int64_t { return r.mSpeedX; }},
    {"Speed_Y", [](const CharacterRecord& r) -> std::int64_t { return r.mSpeedY; }},
    {"Start_Position_X", [](const CharacterRecord& r) -> std::int64_t { return r.mStartPosX; }},
    {"Start_Position_Y", [](const CharacterRecord& r) -> std::int64_t { return r.mStartPosY; }},
    {"Transparency", [](const CharacterRecord& r) -> std::int64_t { return r.mAlpha; }},
    {"No_Mouseclick", [](const CharacterRecord& r) -> std::int64_t { return r.mNoClick; }},
    {"Iris_Width", [](const CharacterRecord& r) -> std::int64_t { return r.mIrisWidth; }},
    {"Eye1_Center_X", [](const CharacterRecord& r) -> std::int64_t { return r.mEye1X; }},
    {"Eye1_Center_Y", [](const CharacterRecord& r) -> std::int64_t { return r.mEye1Y; }},
    {"Eye1_Diameter_X", [](const CharacterRecord& r) -> std::int64_t { return r.mEye1DiamX; }},
    {"Eye1_Diameter_Y", [](const CharacterRecord& r) -> std::int64_t { return r.mEye1DiamY; }},
    {"Iris1_Diameter_X", [](const CharacterRecord& r) -> std::int64_t { return r.mIris1DiamX; }},
    {"Iris1_Diameter_Y", [](const CharacterRecord& r) -> std::int64_t { return r.mIris1DiamY; }},
    {"Eye2_Center_X", [](const CharacterRecord& r) -> std::int64_t { return r.mEye2X; }},
    {"Eye2_Center_Y", [](const CharacterRecord& r) -> std::int64_t { return r.mEye2Y; }},
    {"Eye2_Diameter_X", [](const CharacterRecord& r) -> std::int64_t { return r.mEye2DiamX; }},
    {"Eye2_Diameter_Y", [](const CharacterRecord& r) -> std::int64_t { return r.mEye2DiamY; }},
    {"Iris2_Diameter_X", [](const CharacterRecord& r) -> std::int64_t { return r.mIris2DiamX; }},
    {"Iris2_Diameter_Y", [](const CharacterRecord& r) -> std::int64_t { return r.mIris2DiamY; }},
};
// clang-format on

// What a key keeps of `n` (the value as a whole number) for character 3 of 4.
std::int64_t Kept(const std::string& key, std::int64_t n) {
    auto clamp = [n](std::int64_t lo, std::int64_t hi) { return n < lo ? lo : n > hi ? hi : n; };
    if (key == "Fixed_To")
        return n < 0 || n > 4 ? 3 : n; // below 0 or beyond the last character: stands still
    if (key == "Flee" || key == "No_Mouseclick")
        return n != 0;
    if (key == "Speed_X")
        return clamp(5, 200);
    if (key == "Transparency" || key == "Iris_Width")
        return clamp(0, 255);
    return n; // kept as written; drawing and placing treat what is out of reach
}

class HostileSettings : public ::testing::Test {
protected:
    CharacterRecord Load() const {
        CharacterRecord r;
        r.mMyIndex = 3;
        r.mINISectionName = "C";
        profile::Session reading(path_);
        ReadCharacterRecord(path_, "C", 4, r);
        return r;
    }
    void Save(const CharacterRecord& r) const {
        const std::vector<const CharacterRecord*> records{&r};
        ASSERT_TRUE(SaveAllCharacters(records, title_, path_)) << profile::LastError();
    }
    std::string Value(const char* section, const char* key) const {
        char buffer[1024];
        return std::string(buffer, profile::GetString(section, key, "<missing>", buffer, sizeof buffer, path_));
    }

    TestFolder folder_;
    const std::string path_ = folder_.File("Lookabout.ini");
    std::string title_ = "Hostile";
};

} // namespace

TEST_F(HostileSettings, EveryWholeNumberKeyAtTheEndsOfItsRangeAndBeyond) {
    // The text in the file, and the whole number it stands for (saturated at 32 bits).
    // clang-format off
    const std::pair<const char*, std::int64_t> values[] = {
        {"-2147483648", INT_MIN},       {"2147483647", INT_MAX}, {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},      {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
        {"abc", 0},                     {"-0", 0},               {"99999999999999999999999999", INT_MAX},
        {"  -7 apples", -7}};
    // clang-format on
    for (const auto& [text, number] : values) {
        SCOPED_TRACE(text);
        std::string file = "[C]\nName=x\nImage_File=x.bmp\n";
        for (const IntegerKey& key : kIntegerKeys)
            file += std::string(key.name) + "=" + text + "\n";
        WriteBytes(path_, file);
        const CharacterRecord read = Load();
        for (const IntegerKey& key : kIntegerKeys)
            EXPECT_EQ(key.field(read), Kept(key.name, number)) << key.name;

        // Saved, each key holds what was kept, and the file reads back to the same record.
        Save(read);
        for (const IntegerKey& key : kIntegerKeys)
            EXPECT_EQ(Value("C", key.name), std::to_string(Kept(key.name, number))) << key.name;
        EXPECT_EQ(Load(), read);
        const std::string saved = ReadBytes(path_);
        Save(Load());
        EXPECT_EQ(ReadBytes(path_), saved);
    }
}

TEST_F(HostileSettings, EmptyValuesTakeTheDefaults) {
    std::string file = "[C]\nName=\nImage_File=x.bmp\nIris_Color=\nPupil_Color=\n";
    for (const IntegerKey& key : kIntegerKeys)
        file += std::string(key.name) + "=   \n";
    WriteBytes(path_, file);
    CharacterRecord expected;
    expected.mMyIndex = 3;
    expected.mINISectionName = "C";
    expected.mPicFileName = "x.bmp";
    expected.mFixed = 3;
    expected.mTitle = "";    // an empty name is a name: only a missing key gives "Character"
    expected.mIrisColor = 0; // an empty colour text has no pieces: black
    expected.mPupilColor = 0;
    EXPECT_EQ(Load(), expected);
}

TEST_F(HostileSettings, NamesAndTitlesOfEveryLength) {
    // A text value is read up to 254 characters; blanks at both ends are removed after the cut.
    for (const std::size_t length : {0u, 1u, 253u, 254u, 255u, 300u, 5000u}) {
        SCOPED_TRACE(length);
        std::string name;
        for (std::size_t i = 0; i < length; ++i)
            name += static_cast<char>('a' + i % 26);
        title_ = name;
        WriteBytes(path_, "[General_Settings]\nProgram_Title=" + name + "\n[C]\nName=" + name + "\nImage_File=x.bmp\n");
        const std::string kept = name.substr(0, 254);
        EXPECT_EQ(ReadGeneralSettings(path_).programTitle, kept);
        const CharacterRecord read = Load();
        EXPECT_EQ(read.mTitle, kept);

        title_ = ReadGeneralSettings(path_).programTitle;
        Save(read);
        EXPECT_EQ(Value("C", "Name"), kept);
        EXPECT_EQ(Value("General_Settings", "Program_Title"), kept);
        EXPECT_EQ(Load(), read);
    }
    // Blanks that the cut brings to the end are removed too.
    WriteBytes(path_, "[C]\nName=" + std::string(250, 'n') + "    tail\nImage_File=x.bmp\n");
    EXPECT_EQ(Load().mTitle, std::string(250, 'n'));
    // The cut never splits a character of several bytes: "a" and 126 whole e-acutes of 2 bytes, not
    // half of the 127th; and 84 whole euro signs of 3 bytes, then 2 bytes of the 85th dropped.
    std::string accents = "a", euros;
    for (int i = 0; i < 300; ++i) {
        accents += "\xC3\xA9";
        euros += "\xE2\x82\xAC";
    }
    WriteBytes(path_, "[C]\nName=" + accents + "\nImage_File=x.bmp\n");
    EXPECT_EQ(Load().mTitle, accents.substr(0, 253));
    WriteBytes(path_, "[C]\nName=" + euros + "\nImage_File=x.bmp\n");
    EXPECT_EQ(Load().mTitle, euros.substr(0, 252));
}

TEST(HostileColours, OddNumbersInColourPieces) {
    constexpr auto rgb = [](int r, int g, int b) { return r + 256 * g + 65536 * b; };
    // clang-format off
    const std::pair<const char*, std::int32_t> cases[] = {
        {"1,2", rgb(1, 2, 0)},           {"abc,,7", rgb(0, 0, 7)},         {" , x ,300, 4", rgb(0, 0, 255)},
        {"1e300,-1e300,nan", rgb(255, 0, 0)}, {"inf,-inf,7", rgb(255, 0, 7)}, {"0x10,+5,  7  ", rgb(0, 5, 7)},
        {",,,", rgb(0, 0, 0)},           {"1,2,3,", rgb(1, 2, 3)},         {"2147483648,9e9,-9e9", rgb(255, 255, 0)},
        {"12 13,1 ,7", rgb(0, 1, 7)},    {"\t9\t,8,7", rgb(9, 8, 7)}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseColor(text), expected) << text;
}
