// Loading and saving characters and the general settings, and what Delete does to the records.
#include "start/Configuration.h"
#include "start/FailingRename.h"
#include "start/PrivateProfile.h"
#include "start/TestFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr std::int32_t Rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

std::string Character(const std::string& section, const std::string& name, const std::string& more = "") {
    return "[" + section + "]\nName=" + name + "\nImage_File=" + name + ".bmp\n" + more + "\n";
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
        return std::string(buffer, profile::GetString(section.c_str(), key.c_str(), "?", buffer, 255, path_));
    }
    bool Save(const std::vector<CharacterRecord>& records, const std::string& title = "Eyes") const {
        std::vector<const CharacterRecord*> pointers;
        for (const CharacterRecord& r : records)
            pointers.push_back(&r);
        return SaveAllCharacters(pointers, title, path_);
    }

    TestFolder folder_;
    const std::string path_ = folder_.File("Lookabout.ini");
};

TEST_F(Settings, ASectionWithOnlyAPictureGetsEveryDefaultAndKeepsTheTableOrder) {
    Make("[Smiley]\nImage_File= smiley.bmp \n");
    const std::string fresh = folder_.File("fresh.ini");
    ASSERT_TRUE(WriteCharacterRecord(Load("Smiley", 2, 3), "CHARACTER_9", fresh));
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Name", "Character"}, {"Image_File", "smiley.bmp"}, {"Fixed_To", "2"}, {"Flee", "0"}, {"Speed_X", "30"},
        {"Speed_Y", "20"}, {"Start_Position_X", "0"}, {"Start_Position_Y", "0"}, {"Transparency", "0"},
        {"No_Mouseclick", "0"}, {"Iris_Color", "40,90,220"}, {"Pupil_Color", "0,0,0"}, {"Iris_Width", "1"},
        {"Eye1_Center_X", "-100"}, {"Eye1_Center_Y", "-100"}, {"Eye1_Diameter_X", "8"}, {"Eye1_Diameter_Y", "8"},
        {"Iris1_Diameter_X", "4"}, {"Iris1_Diameter_Y", "4"}, {"Eye2_Center_X", "-100"}, {"Eye2_Center_Y", "-100"},
        {"Eye2_Diameter_X", "8"}, {"Eye2_Diameter_Y", "8"}, {"Iris2_Diameter_X", "4"}, {"Iris2_Diameter_Y", "4"}};
    // clang-format on
    const std::string text = ReadBytes(fresh);
    std::vector<std::pair<std::string, std::string>> written;
    for (std::size_t at = 0, end; (end = text.find(kNewLineEnd, at)) != std::string::npos;
         at = end + kNewLineEnd.size())
        if (const std::string line = text.substr(at, end - at); line.find('=') != std::string::npos)
            written.emplace_back(line.substr(0, line.find('=')), line.substr(line.find('=') + 1));
    EXPECT_EQ(written, expected); // stands still and looks at the pointer, in the order of the table
}

TEST_F(Settings, ValuesAreHeldToTheirRangesAndTargetsToTheCharacters) {
    using Field = int (*)(const CharacterRecord&);
    const Field speedX = [](const CharacterRecord& r) { return r.mSpeedX; };
    const Field speedY = [](const CharacterRecord& r) { return r.mSpeedY; };
    const Field alpha = [](const CharacterRecord& r) { return r.mAlpha; };
    const Field width = [](const CharacterRecord& r) { return static_cast<int>(r.mIrisWidth); };
    const Field flee = [](const CharacterRecord& r) { return static_cast<int>(r.mFlee); };
    const Field noClick = [](const CharacterRecord& r) { return static_cast<int>(r.mNoClick); };
    const Field fixed = [](const CharacterRecord& r) { return r.mFixed; };
    const Field startX = [](const CharacterRecord& r) { return r.mStartPosX; };
    // clang-format off
    const std::tuple<const char*, Field, int> cases[] = {
        {"Speed_X=2", speedX, 5},        {"Speed_X=500", speedX, 200},   {"Speed_X=5", speedX, 5},
        {"Speed_X=200", speedX, 200},    {"Speed_X=-7", speedX, 5},      {"Speed_Y=2", speedY, 2},
        {"Speed_Y=-3", speedY, -3},      {"Transparency=300", alpha, 255}, {"Transparency=-4", alpha, 0},
        {"Iris_Width=999", width, 255},  {"Iris_Width=-2", width, 0},    {"Flee=5", flee, 1},
        {"No_Mouseclick=-1", noClick, 1}, {"No_Mouseclick=0", noClick, 0}, {"Start_Position_X=-40", startX, -40},
        // For character 3 of 4: -1 and anything outside 0..4 stand still.
        {"", fixed, 3},          {"Fixed_To=-1", fixed, 3}, {"Fixed_To=5", fixed, 3}, {"Fixed_To=-2", fixed, 3},
        {"Fixed_To=0", fixed, 0}, {"Fixed_To=1", fixed, 1}, {"Fixed_To=4", fixed, 4}};
    // clang-format on
    for (const auto& [line, field, expected] : cases) {
        Make(Character("C", "x", line));
        EXPECT_EQ(field(Load("C", 3, 4)), expected) << line;
    }
}

TEST_F(Settings, ColourTextsParseAndPrint) {
    // clang-format off
    const std::pair<const char*, std::int32_t> cases[] = {
        {"300,-5,12.9", Rgb(255, 0, 12)}, {"1,2,3,4", Rgb(1, 2, 3)}, {" 7 , 8 , 9 ", Rgb(7, 8, 9)},
        {"255.99,0.5,-0.5", Rgb(255, 0, 0)}, {"7", Rgb(7, 0, 0)},    {"", Rgb(0, 0, 0)},
        {"a,5,b", Rgb(0, 5, 0)},          {"1,,3", Rgb(1, 0, 3)}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseColor(text), expected) << text;
    EXPECT_EQ(ColorToText(Rgb(40, 90, 220)), "40,90,220");
    for (std::int32_t colour : {Rgb(0, 0, 0), Rgb(255, 0, 12), Rgb(0, 128, 255)})
        EXPECT_EQ(ParseColor(ColorToText(colour)), colour);
}

TEST_F(Settings, ColourTextsDoNotDependOnTheUsersLocale) {
    // The program runs under the desktop's locale; a German one writes 12,9 for twelve point nine.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    bool found = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"})
        found = found || std::setlocale(LC_NUMERIC, name) != nullptr;
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(ParseColor("300,-5,12.9"), Rgb(255, 0, 12));
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST_F(Settings, GeneralSettings) {
    const std::string title300(300, 't');
    const std::tuple<std::string, bool, std::string> cases[] = {
        {"", true, "Lookabout"},
        {"[General_Settings]\nAdvanced_Editing=0\n", false, "Lookabout"},
        {"[General_Settings]\nAdvanced_Editing=-1\n", true, "Lookabout"},
        {"[General_Settings]\nAdvanced_Editing=\n", true, "Lookabout"},
        {"[General_Settings]\nProgram_Title=   Big   Eyes   \n", true, "Big   Eyes"},
        {"[General_Settings]\nProgram_Title=\n", true, ""},
        {"[General_Settings]\nProgram_Title=\"  Quoted  \"\n", true, "Quoted"},
        {"[General_Settings]\nProgram_Title=" + title300 + "\n", true, title300.substr(0, 254)}};
    for (const auto& [file, advanced, title] : cases) {
        Make(file);
        const GeneralSettings s = ReadGeneralSettings(path_);
        EXPECT_EQ(s.advancedEditing, advanced) << file;
        EXPECT_EQ(s.programTitle, title) << file;
    }
    const GeneralSettings missing = ReadGeneralSettings(folder_.File("none.ini"));
    EXPECT_TRUE(missing.advancedEditing);
    EXPECT_EQ(missing.programTitle, "Lookabout");
}

TEST_F(Settings, CharactersAreTheSectionsWithAPicture) {
    for (const char* damaged :
         {"", "; nothing but a comment\nImage_File=face.bmp\n", "[General_Settings]\nAdvanced_Editing=1\n",
          "[CHARACTER_1]\nImage_File=   \nName=Frog\n", "[CHARACTER_1]\nName=Frog\n",
          "[CHARACTER_1]\n;Image_File=frog.gif\n",
          "[CHARACTER_1]\nImage_File=' \t '\n"}) { // blanks that quotes kept: still no picture named
        Make(damaged);
        EXPECT_TRUE(FindCharacterSectionNames(path_).empty()) << damaged;
    }
    EXPECT_TRUE(FindCharacterSectionNames(folder_.File("none.ini")).empty());
    Make(std::string("[CHARACTER_1]\nImage_File=\t\0x.bmp\n", 33)); // a NUL ends the name after the tab
    EXPECT_TRUE(FindCharacterSectionNames(path_).empty());

    // Any name; a second section of the same name is not a second character.
    Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character("Smiley", "Smiley") + "[Notes]\nText=x\n\n" +
         Character("frog", "Frog") + Character("CHARACTER_7", "Seven") + Character("SMILEY", "Second Smiley"));
    EXPECT_EQ(FindCharacterSectionNames(path_), (std::vector<std::string>{"Smiley", "frog", "CHARACTER_7"}));

    std::string many; // far more names than one buffer of section names holds
    for (int i = 1; i <= 400; ++i)
        many += Character("A_Character_Section_With_A_Long_Name_" + std::to_string(i), "C");
    Make(many);
    const std::vector<std::string> found = FindCharacterSectionNames(path_);
    ASSERT_EQ(found.size(), 400u);
    EXPECT_EQ(found[255], "A_Character_Section_With_A_Long_Name_256");
    EXPECT_EQ(found.back(), "A_Character_Section_With_A_Long_Name_400");
}

TEST_F(Settings, AFileReadAndSavedUnchangedKeepsEveryByte) {
    const std::string original =
        "; a note that stays\n[General_Settings]\nProgram_Title=Eyes\n\n[Frog]\nName=Frog\nImage_File=frog.gif\n"
        "Fixed_To=0\nFlee=1\nSpeed_X=40\nSpeed_Y=-7\nStart_Position_X=-20\nStart_Position_Y=300\nTransparency=128\n"
        "No_Mouseclick=1\nIris_Color=10,20,30\nPupil_Color=1,2,3\nIris_Width=3\nEye1_Center_X=12\nEye1_Center_Y=13\n"
        "Eye1_Diameter_X=14\nEye1_Diameter_Y=15\nIris1_Diameter_X=5\nIris1_Diameter_Y=6\nEye2_Center_X=22\n"
        "Eye2_Center_Y=23\nEye2_Diameter_X=24\nEye2_Diameter_Y=25\nIris2_Diameter_X=7\nIris2_Diameter_Y=8\n";
    Make(original);
    const std::vector<CharacterRecord> records = LoadCharacters();
    ASSERT_EQ(records.size(), 1u);
    ASSERT_TRUE(Save(records)) << profile::LastError();
    EXPECT_EQ(ReadBytes(path_), original);
    // Normalised on the way: names trimmed, flags as 0 or 1, colours without blanks.
    Make("[Frog]\nName=  Frog  \nImage_File=frog.gif\nFlee=7\nIris_Color= 10 , 20 , 30 \n");
    ASSERT_TRUE(Save(LoadCharacters()));
    for (const auto& [key, value] : {std::pair{"Name", "Frog"}, {"Flee", "1"}, {"Iris_Color", "10,20,30"}})
        EXPECT_EQ(Value("Frog", key), value) << key;
}

TEST_F(Settings, SavingAllCharactersIsOneReplacementOrNone) {
    std::string file = "[General_Settings]\nProgram_Title=Eyes\n\n";
    for (int i = 1; i <= 100; ++i)
        file += Character("CHARACTER_" + std::to_string(i), "C" + std::to_string(i));
    Make(file);
    std::vector<CharacterRecord> records = LoadCharacters();
    ASSERT_EQ(records.size(), 100u);
    std::size_t before = profile::ReplacementCount();
    ASSERT_TRUE(Save(records));
    EXPECT_EQ(profile::ReplacementCount(), before + 1);
    const std::string saved = ReadBytes(path_);
    before = profile::ReplacementCount();
    ASSERT_TRUE(Save(records));
    EXPECT_EQ(profile::ReplacementCount(), before) << "nothing changed, nothing written";

    records[41].mTitle = "Changed";
    {
        FailingRename crash;
        EXPECT_FALSE(Save(records, "Other title"));
        EXPECT_FALSE(profile::LastError().empty());
    }
    EXPECT_EQ(ReadBytes(path_), saved);
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"Lookabout.ini"});
}

TEST(DeleteCharacter, RenumbersTheRestAndTheirTargets) {
    // The deleted character; targets of characters 1..4 before, of the three that remain after.
    const std::tuple<int, std::vector<int>, std::vector<int>> cases[] = {
        {2, {2, 1, 4, 4}, {0, 3, 3}}, // a target of 2 turns to the pointer; 4 standing still and its follower move
        {2, {1, 4, 3, 3}, {1, 2, 2}}, // 1 stands still below del; 3 stands still and 4 follows it
        {3, {0, 3, 1, 2}, {0, 0, 2}},
        {4, {4, 4, 3, 4}, {0, 0, 3}},
        {1, {1, 1, 1, 2}, {0, 0, 1}}};
    for (const auto& [del, fixedBefore, fixedAfter] : cases) {
        std::vector<CharacterRecord> storage(4);
        std::vector<CharacterRecord*> records;
        for (int k = 1; k <= 4; ++k) {
            storage[k - 1].mMyIndex = k;
            storage[k - 1].mINISectionName = "CHARACTER_" + std::to_string(k);
            storage[k - 1].mTitle = "C" + std::to_string(k);
            storage[k - 1].mFixed = fixedBefore[k - 1];
            records.push_back(&storage[k - 1]);
        }
        EXPECT_EQ(RenumberForDelete(records, del), std::vector<std::string>{"CHARACTER_4"});
        ASSERT_EQ(records.size(), 3u);
        for (int j = 1, old = 0; j <= 3; ++j) {
            old += old + 1 == del ? 2 : 1;
            EXPECT_EQ(records[j - 1]->mTitle, "C" + std::to_string(old)) << "delete " << del;
            EXPECT_EQ(records[j - 1]->mINISectionName, "CHARACTER_" + std::to_string(j)) << "delete " << del;
            EXPECT_EQ(records[j - 1]->mFixed, fixedAfter[j - 1]) << "delete " << del << ", new character " << j;
        }
    }
    CharacterRecord only;
    only.mMyIndex = only.mFixed = 1;
    std::vector<CharacterRecord*> one{&only};
    EXPECT_TRUE(RenumberForDelete(one, 1).empty());
    EXPECT_EQ(one.size(), 1u);
}

} // namespace
