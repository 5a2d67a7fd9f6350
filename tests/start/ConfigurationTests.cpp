// Loading and saving characters and the general settings, and what Add and Delete do to the file.
#include "start/Configuration.h"
#include "start/FailingRename.h"
#include "start/PrivateProfile.h"
#include "start/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

void PrintTo(const CharacterRecord& r, std::ostream* os) {
    *os << "{#" << r.mMyIndex << " [" << r.mINISectionName << "] '" << r.mTitle << "' '" << r.mPicFileName << "' fixed "
        << r.mFixed << " flee " << r.mFlee << " speed " << r.mSpeedX << "," << r.mSpeedY << " start " << r.mStartPosX
        << "," << r.mStartPosY << " alpha " << r.mAlpha << " noclick " << r.mNoClick << " colours "
        << ColorToText(r.mIrisColor) << "/" << ColorToText(r.mPupilColor) << " width " << r.mIrisWidth << " eyes "
        << r.mEye1X << "," << r.mEye1Y << " " << r.mEye1DiamX << "x" << r.mEye1DiamY << " " << r.mIris1DiamX << "x"
        << r.mIris1DiamY << " | " << r.mEye2X << "," << r.mEye2Y << " " << r.mEye2DiamX << "x" << r.mEye2DiamY << " "
        << r.mIris2DiamX << "x" << r.mIris2DiamY << "}";
}

namespace {

// The keys of a character section in the order the program writes them.
// clang-format off
const std::vector<std::string> kKeyOrder = {
    "Name", "Image_File", "Fixed_To", "Flee", "Speed_X", "Speed_Y", "Start_Position_X", "Start_Position_Y",
    "Transparency", "No_Mouseclick", "Iris_Color", "Pupil_Color", "Iris_Width",
    "Eye1_Center_X", "Eye1_Center_Y", "Eye1_Diameter_X", "Eye1_Diameter_Y", "Iris1_Diameter_X", "Iris1_Diameter_Y",
    "Eye2_Center_X", "Eye2_Center_Y", "Eye2_Diameter_X", "Eye2_Diameter_Y", "Iris2_Diameter_X", "Iris2_Diameter_Y"};
// clang-format on

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

constexpr std::int32_t Rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

// The key names of a section's lines, in file order.
std::vector<std::string> KeysInFile(const std::string& bytes, const std::string& section) {
    std::vector<std::string> keys;
    bool inside = false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        start = end + 1;
        if (!line.empty() && line.front() == '[')
            inside = line == "[" + section + "]";
        else if (inside && line.find('=') != std::string::npos)
            keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

std::string Character(const std::string& section, const std::string& name, const std::string& picture,
                      const std::string& more = "") {
    return "[" + section + "]\nName=" + name + "\nImage_File=" + picture + "\n" + more + "\n";
}

class Settings : public ::testing::Test {
protected:
    void Make(const std::string& bytes) { WriteBytes(path_, bytes); }

    // Character `index` of `count`, read from `section`, as the loader does it.
    CharacterRecord Load(const std::string& section, int index, int count) const {
        CharacterRecord r;
        r.mMyIndex = index;
        r.mINISectionName = section;
        ReadCharacterRecord(path_, section, count, r);
        return r;
    }
    std::vector<CharacterRecord> LoadCharacters() const {
        const std::vector<std::string> sections = FindCharacterSectionNames(path_);
        std::vector<CharacterRecord> records;
        for (std::size_t i = 0; i < sections.size(); ++i)
            records.push_back(Load(sections[i], static_cast<int>(i) + 1, static_cast<int>(sections.size())));
        return records;
    }
    std::string Value(const std::string& section, const std::string& key) const {
        char buffer[255];
        const std::size_t n =
            profile::GetString(section.c_str(), key.c_str(), "<missing>", buffer, sizeof buffer, path_);
        return std::string(buffer, n);
    }
    bool Save(std::vector<CharacterRecord>& records, const std::string& title = "Eyes") const {
        std::vector<const CharacterRecord*> pointers;
        for (const CharacterRecord& r : records)
            pointers.push_back(&r);
        return SaveAllCharacters(pointers, title, path_);
    }

    TestFolder folder_;
    const std::string path_ = folder_.File("Lookabout.ini");
};

TEST_F(Settings, ASectionWithOnlyAPictureGetsEveryDefault) {
    Make("[Smiley]\nImage_File= smiley.bmp \n");
    CharacterRecord expected;
    expected.mMyIndex = 2;
    expected.mINISectionName = "Smiley";
    expected.mTitle = "Character";
    expected.mPicFileName = "smiley.bmp";
    expected.mFixed = 2; // stands still and looks at the pointer
    expected.mFlee = expected.mNoClick = false;
    expected.mSpeedX = 30;
    expected.mSpeedY = 20;
    expected.mStartPosX = expected.mStartPosY = expected.mAlpha = 0;
    expected.mIrisColor = Rgb(40, 90, 220);
    expected.mPupilColor = Rgb(0, 0, 0);
    expected.mIrisWidth = 1;
    expected.mEye1X = expected.mEye1Y = expected.mEye2X = expected.mEye2Y = -100;
    expected.mEye1DiamX = expected.mEye1DiamY = expected.mEye2DiamX = expected.mEye2DiamY = 8;
    expected.mIris1DiamX = expected.mIris1DiamY = expected.mIris2DiamX = expected.mIris2DiamY = 4;
    EXPECT_EQ(Load("Smiley", 2, 3), expected);
}

TEST_F(Settings, ValuesAreHeldToTheirRanges) {
    using Field = int (*)(const CharacterRecord&);
    const Field speedX = [](const CharacterRecord& r) { return r.mSpeedX; };
    const Field speedY = [](const CharacterRecord& r) { return r.mSpeedY; };
    const Field alpha = [](const CharacterRecord& r) { return r.mAlpha; };
    const Field width = [](const CharacterRecord& r) { return static_cast<int>(r.mIrisWidth); };
    const Field flee = [](const CharacterRecord& r) { return static_cast<int>(r.mFlee); };
    const Field noClick = [](const CharacterRecord& r) { return static_cast<int>(r.mNoClick); };
    const Field startX = [](const CharacterRecord& r) { return r.mStartPosX; };
    // clang-format off
    const std::tuple<const char*, Field, int> cases[] = {
        {"Speed_X=2", speedX, 5},          {"Speed_X=500", speedX, 200},     {"Speed_X=5", speedX, 5},
        {"Speed_X=200", speedX, 200},      {"Speed_X=-7", speedX, 5},        {"Speed_Y=2", speedY, 2},
        {"Speed_Y=500", speedY, 500},      {"Speed_Y=-3", speedY, -3},       {"Transparency=300", alpha, 255},
        {"Transparency=-4", alpha, 0},     {"Transparency=128", alpha, 128}, {"Iris_Width=999", width, 255},
        {"Iris_Width=0", width, 0},        {"Iris_Width=-2", width, 0},      {"Flee=5", flee, 1},
        {"Flee=0", flee, 0},               {"No_Mouseclick=-1", noClick, 1}, {"No_Mouseclick=0", noClick, 0},
        {"Start_Position_X=-40", startX, -40}};
    // clang-format on
    for (const auto& [line, field, expected] : cases) {
        SCOPED_TRACE(line);
        Make(Character("C", "x", "x.bmp", line));
        EXPECT_EQ(field(Load("C", 1, 1)), expected);
    }
}

TEST_F(Settings, FixedToNamesAValidTargetOrTheCharacterItself) {
    // For character 3 of 4.
    const std::pair<const char*, int> cases[] = {{"", 3},
                                                 {"Fixed_To=-1", 3},
                                                 {"Fixed_To=5", 3},
                                                 {"Fixed_To=99", 3},
                                                 {"Fixed_To=-2", 3},
                                                 {"Fixed_To=-100", 3},
                                                 {"Fixed_To=0", 0},
                                                 {"Fixed_To=1", 1},
                                                 {"Fixed_To=3", 3},
                                                 {"Fixed_To=4", 4}};
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        Make(Character("C", "x", "x.bmp", line));
        EXPECT_EQ(Load("C", 3, 4).mFixed, expected);
    }
}

TEST_F(Settings, ColourTextsParseAndPrint) {
    // clang-format off
    const std::pair<const char*, std::int32_t> cases[] = {
        {"300,-5,12.9", Rgb(255, 0, 12)}, {"1,2,3,4", Rgb(1, 2, 3)}, {"40,90,220", Rgb(40, 90, 220)},
        {" 7 , 8 , 9 ", Rgb(7, 8, 9)},    {"255.99,0.5,-0.5", Rgb(255, 0, 0)},
        {"7", Rgb(7, 0, 0)},              {"7,8", Rgb(7, 8, 0)},       {"", Rgb(0, 0, 0)},
        {"a,5,b", Rgb(0, 5, 0)},          {"1,,3", Rgb(1, 0, 3)},      {",,", Rgb(0, 0, 0)}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseColor(text), expected) << text;
    EXPECT_EQ(ColorToText(Rgb(40, 90, 220)), "40,90,220");
    EXPECT_EQ(ColorToText(Rgb(0, 0, 0)), "0,0,0");
    EXPECT_EQ(ColorToText(Rgb(255, 255, 255)), "255,255,255");
    for (std::int32_t colour : {Rgb(1, 2, 3), Rgb(255, 0, 12), Rgb(0, 128, 255)})
        EXPECT_EQ(ParseColor(ColorToText(colour)), colour);

    Make(Character("C", "x", "x.bmp", "Iris_Color= 300, -5 , 12.9 "));
    const CharacterRecord r = Load("C", 1, 1);
    EXPECT_EQ(r.mIrisColor, Rgb(255, 0, 12));
    EXPECT_EQ(r.mPupilColor, Rgb(0, 0, 0));
}

TEST_F(Settings, ColourTextsDoNotDependOnTheUsersLocale) {
    // The program runs under the desktop's locale; a German one writes 12,9 for twelve point nine.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    const char* found = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"})
        if (!found && std::setlocale(LC_NUMERIC, name))
            found = name;
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(ClampColorPart("12.9"), 12);
    EXPECT_EQ(ParseColor("300,-5,12.9"), Rgb(255, 0, 12));
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST_F(Settings, GeneralSettings) {
    const std::string title300(300, 't');
    // clang-format off
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"", true, "Lookabout"},
        {"[General_Settings]\n", true, "Lookabout"},
        {"[General_Settings]\nAdvanced_Editing=0\n", false, "Lookabout"},
        {"[General_Settings]\nAdvanced_Editing=1\n", true, "Lookabout"},
        {"[General_Settings]\nAdvanced_Editing=5\n", true, "Lookabout"},
        {"[General_Settings]\nAdvanced_Editing=-1\n", true, "Lookabout"},
        {"[General_Settings]\nAdvanced_Editing=\n", true, "Lookabout"},
        {"[General_Settings]\nProgram_Title=   Big   Eyes   \n", true, "Big   Eyes"},
        {"[General_Settings]\nProgram_Title=\n", true, ""},
        {"[General_Settings]\nProgram_Title=\"  Quoted  \"\n", true, "Quoted"}};
    // clang-format on
    for (const auto& [file, advanced, title] : cases) {
        SCOPED_TRACE(file);
        Make(file);
        const GeneralSettings s = ReadGeneralSettings(path_);
        EXPECT_EQ(s.advancedEditing, advanced);
        EXPECT_EQ(s.programTitle, title);
    }
    Make("[General_Settings]\nProgram_Title=" + title300 + "\n");
    EXPECT_EQ(ReadGeneralSettings(path_).programTitle, title300.substr(0, 254));
    const GeneralSettings missing = ReadGeneralSettings(folder_.File("none.ini"));
    EXPECT_TRUE(missing.advancedEditing);
    EXPECT_EQ(missing.programTitle, "Lookabout");
}

TEST_F(Settings, DamagedFilesHaveNoCharacters) {
    for (const char* file :
         {"", "; nothing but a comment\nImage_File=face.bmp\n",
          "[General_Settings]\nAdvanced_Editing=1\nProgram_Title=Eyes\n", "[CHARACTER_1]\nImage_File=\nName=Frog\n",
          "[CHARACTER_1]\nImage_File=   \n", "[CHARACTER_1]\nName=Frog\n", "[CHARACTER_1]\n;Image_File=frog.gif\n"}) {
        SCOPED_TRACE(file);
        Make(file);
        EXPECT_TRUE(FindCharacterSectionNames(path_).empty());
    }
    EXPECT_TRUE(FindCharacterSectionNames(folder_.File("none.ini")).empty());
}

TEST_F(Settings, AnySectionWithAPictureIsACharacter) {
    Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character("Smiley", "Smiley", "smiley.bmp") +
         "[Notes]\nText=not a character\n\n" + Character("frog", "Frog", "frog.gif") +
         Character("CHARACTER_7", "Seven", "seven.bmp") + Character("SMILEY", "Second Smiley", "other.bmp"));
    EXPECT_EQ(FindCharacterSectionNames(path_), (std::vector<std::string>{"Smiley", "frog", "CHARACTER_7"}));

    std::string many;
    for (int i = 1; i <= 400; ++i)
        many += Character("A_Character_Section_With_A_Long_Name_" + std::to_string(i), "C", "c.bmp");
    Make(many);
    const std::vector<std::string> found = FindCharacterSectionNames(path_);
    ASSERT_EQ(found.size(), 400u);
    EXPECT_EQ(found.front(), "A_Character_Section_With_A_Long_Name_1");
    EXPECT_EQ(found[255], "A_Character_Section_With_A_Long_Name_256");
    EXPECT_EQ(found.back(), "A_Character_Section_With_A_Long_Name_400");
}

TEST_F(Settings, ACharacterSavedUnchangedGivesEveryKeyBack) {
    Make("[General_Settings]\nProgram_Title=Eyes\n\n[Frog]\nName=  Frog  \nImage_File=frog.gif\nFlee=7\n"
         "Speed_X=40\nIris_Color= 10 , 20 , 30 \n; a note that stays\nEye1_Center_X=12\n");
    std::vector<CharacterRecord> records = LoadCharacters();
    ASSERT_EQ(records.size(), 1u);
    ASSERT_TRUE(Save(records)) << profile::LastError();

    const char* const expected[] = {"Frog", "frog.gif", "1",     "1", "40", "20",   "0", "0", "0",
                                    "0",    "10,20,30", "0,0,0", "1", "12", "-100", "8", "8", "4",
                                    "4",    "-100",     "-100",  "8", "8",  "4",    "4"};
    for (std::size_t k = 0; k < kKeyOrder.size(); ++k)
        EXPECT_EQ(Value("Frog", kKeyOrder[k]), expected[k]) << kKeyOrder[k];
    const std::string bytes = ReadBytes(path_);
    EXPECT_EQ(bytes.find("[General_Settings]\nProgram_Title=Eyes\n\n[Frog]\n"), 0u) << bytes;
    EXPECT_NE(bytes.find("; a note that stays\n"), std::string::npos);
    EXPECT_EQ(LoadCharacters(), records);

    // Into a section of its own: every key, in the order of the table.
    ASSERT_TRUE(WriteCharacterRecord(records[0], "CHARACTER_9", path_));
    EXPECT_EQ(KeysInFile(ReadBytes(path_), "CHARACTER_9"), kKeyOrder);
    CharacterRecord copy = Load("CHARACTER_9", 1, 1);
    copy.mINISectionName = "Frog";
    EXPECT_EQ(copy, records[0]);
}

TEST_F(Settings, SavingAllCharactersIsOneReplacementOrNone) {
    std::string file = "[General_Settings]\nProgram_Title=Eyes\n\n";
    for (int i = 1; i <= 100; ++i)
        file += Character("CHARACTER_" + std::to_string(i), "C" + std::to_string(i), "c.bmp");
    Make(file);
    std::vector<CharacterRecord> records = LoadCharacters();
    ASSERT_EQ(records.size(), 100u);
    std::size_t before = profile::ReplacementCount();
    ASSERT_TRUE(Save(records));
    EXPECT_EQ(profile::ReplacementCount(), before + 1);
    const std::string saved = ReadBytes(path_);
    before = profile::ReplacementCount();
    ASSERT_TRUE(Save(records));
    EXPECT_EQ(profile::ReplacementCount(), before);

    records[41].mTitle = "Changed";
    {
        FailingRename crash;
        EXPECT_FALSE(Save(records, "Other title"));
        EXPECT_FALSE(profile::LastError().empty());
    }
    EXPECT_EQ(ReadBytes(path_), saved);
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"Lookabout.ini"});
}

TEST_F(Settings, AddWritesACopyAsTheNewLastCharacter) {
    const std::string original = "[General_Settings]\nProgram_Title=Eyes\n\n" +
                                 Character("CHARACTER_1", "Smiley", "smiley.bmp", "Fixed_To=0") +
                                 Character("CHARACTER_2", "Frog", "frog.gif", "Fixed_To=1\nSpeed_X=44\nFlee=1") +
                                 Character("CHARACTER_3", "Cat", "cat.bmp");
    Make(original);
    const std::vector<CharacterRecord> records = LoadCharacters();
    ASSERT_EQ(records.size(), 3u);
    const CharacterRecord& frog = records[1];
    const CharacterRecord added = AddedCharacter(frog, 3, 640, 120);
    const std::string section = SectionForAddedCharacter(FindCharacterSectionNames(path_), 3);
    EXPECT_EQ(section, "CHARACTER_4");
    ASSERT_TRUE(WriteCharacterRecord(added, section, path_));
    EXPECT_EQ(frog.mTitle, "Frog");
    EXPECT_EQ(frog.mFixed, 1);

    const std::string bytes = ReadBytes(path_);
    EXPECT_EQ(bytes.substr(0, original.size()), original);
    EXPECT_EQ(KeysInFile(bytes, "CHARACTER_4"), kKeyOrder);
    EXPECT_EQ(Value("CHARACTER_4", "Name"), "New Frog");
    EXPECT_EQ(Value("CHARACTER_4", "Fixed_To"), "4");
    EXPECT_EQ(Value("CHARACTER_4", "Start_Position_X"), "640");
    EXPECT_EQ(Value("CHARACTER_4", "Start_Position_Y"), "120");
    EXPECT_EQ(Value("CHARACTER_4", "Image_File"), "frog.gif");
    EXPECT_EQ(Value("CHARACTER_4", "Speed_X"), "44");
    EXPECT_EQ(Value("CHARACTER_4", "Flee"), "1");

    const std::vector<CharacterRecord> reloaded = LoadCharacters();
    ASSERT_EQ(reloaded.size(), 4u);
    EXPECT_EQ(reloaded[3].mTitle, "New Frog");
    EXPECT_EQ(reloaded[3].mFixed, 4); // stands still and looks at the pointer

    // A hand-named file may already hold a section of that name; it is not overwritten.
    const std::vector<std::string> handNamed = {"Smiley", "character_4", "Cat"};
    const std::string other = SectionForAddedCharacter(handNamed, 3);
    EXPECT_EQ(other.rfind("CHARACTER_", 0), 0u) << other;
    for (const std::string& taken : handNamed)
        EXPECT_NE(Lower(other), Lower(taken));
}

TEST_F(Settings, DeleteRenumbersTheRestAndTheirTargets) {
    // The deleted character; targets of characters 1..4 before, of the three that remain after.
    const std::tuple<int, std::vector<int>, std::vector<int>> cases[] = {
        {2, {2, 1, 4, 4}, {0, 3, 3}}, // a target of 2 turns to the pointer; 4 standing still and its follower move
        {2, {1, 4, 3, 3}, {1, 2, 2}}, // 1 stands still below del; 3 stands still and 4 follows it
        {3, {0, 3, 1, 2}, {0, 0, 2}},
        {4, {4, 4, 3, 4}, {0, 0, 3}},
        {1, {1, 1, 1, 2}, {0, 0, 1}}};
    for (const auto& [del, fixedBefore, fixedAfter] : cases) {
        SCOPED_TRACE("delete " + std::to_string(del));
        std::vector<CharacterRecord> storage(4);
        std::vector<CharacterRecord*> records;
        for (int k = 1; k <= 4; ++k) {
            CharacterRecord& r = storage[k - 1];
            r.mMyIndex = k;
            r.mINISectionName = "CHARACTER_" + std::to_string(k);
            r.mTitle = "C" + std::to_string(k);
            r.mFixed = fixedBefore[k - 1];
            records.push_back(&r);
        }
        EXPECT_EQ(RenumberForDelete(records, del), std::vector<std::string>{"CHARACTER_4"});
        ASSERT_EQ(records.size(), 3u);
        int old = 0;
        for (int j = 1; j <= 3; ++j) {
            old += old + 1 == del ? 2 : 1;
            EXPECT_EQ(records[j - 1]->mTitle, "C" + std::to_string(old));
            EXPECT_EQ(records[j - 1]->mINISectionName, "CHARACTER_" + std::to_string(j));
            EXPECT_EQ(records[j - 1]->mFixed, fixedAfter[j - 1]) << "new character " << j;
        }
    }

    CharacterRecord only;
    only.mMyIndex = 1;
    only.mINISectionName = "CHARACTER_1";
    only.mFixed = 1;
    const CharacterRecord untouched = only;
    std::vector<CharacterRecord*> one{&only};
    EXPECT_TRUE(RenumberForDelete(one, 1).empty());
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(only, untouched);
}

TEST_F(Settings, DeleteLeavesTheFileWithTheRestInOrder) {
    // The sections of characters 1..4, and a section that is no character and stays.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"CHARACTER_1", "Character_2", "CHARACTER_3", "CHARACTER_4"}, ""},
        {{"Smiley", "Frog", "Cat", "Owl"}, "[Notes]\nText=kept\n\n"},
        {{"CHARACTER_1", "Frog", "CHARACTER_3", "CHARACTER_4"}, ""}};
    for (const auto& [names, extra] : cases) {
        SCOPED_TRACE(names[1]);
        std::string file = "[General_Settings]\nProgram_Title=Eyes\n\n";
        for (int k = 1; k <= 4; ++k)
            file += Character(names[k - 1], "C" + std::to_string(k), "c.bmp",
                              k == 4   ? "Fixed_To=4"
                              : k == 1 ? "Fixed_To=2"
                                       : "Fixed_To=0");
        Make(file + extra);
        std::vector<CharacterRecord> records = LoadCharacters();
        ASSERT_EQ(records.size(), 4u);
        std::vector<CharacterRecord*> pointers;
        for (CharacterRecord& r : records)
            pointers.push_back(&r);
        for (const std::string& section : RenumberForDelete(pointers, 2))
            ASSERT_TRUE(DeleteCharacterSection(section, path_)) << profile::LastError();
        std::vector<CharacterRecord> rest;
        for (CharacterRecord* r : pointers)
            rest.push_back(*r);
        ASSERT_TRUE(Save(rest, "After"));

        std::vector<std::string> sections = FindCharacterSectionNames(path_);
        for (std::string& section : sections)
            section = Lower(section);
        EXPECT_EQ(sections, (std::vector<std::string>{"character_1", "character_2", "character_3"}));
        const std::vector<CharacterRecord> reloaded = LoadCharacters();
        ASSERT_EQ(reloaded.size(), 3u);
        EXPECT_EQ(reloaded[0].mTitle, "C1");
        EXPECT_EQ(reloaded[1].mTitle, "C3");
        EXPECT_EQ(reloaded[2].mTitle, "C4");
        EXPECT_EQ(reloaded[0].mFixed, 0);
        EXPECT_EQ(reloaded[2].mFixed, 3);
        EXPECT_EQ(Value("General_Settings", "Program_Title"), "After");
        if (!extra.empty()) {
            EXPECT_EQ(Value("Notes", "Text"), "kept");
        }
    }
}

} // namespace
