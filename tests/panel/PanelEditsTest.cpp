// What the panel's Add, Delete and Rename leave in the records and in the settings file, also for
// files whose character sections were named by hand, and when the file cannot be written.
#include "panel/PanelEdits.h"
#include "start/Configuration.h"
#include "start/FailingRename.h"
#include "start/PrivateProfile.h"
#include "start/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

const std::vector<std::string> kKeyOrder = {"Name",
                                            "Image_File",
                                            "Fixed_To",
                                            "Flee",
                                            "Speed_X",
                                            "Speed_Y",
                                            "Start_Position_X",
                                            "Start_Position_Y",
                                            "Transparency",
                                            "No_Mouseclick",
                                            "Iris_Color",
                                            "Pupil_Color",
                                            "Iris_Width",
                                            "Eye1_Center_X",
                                            "Eye1_Center_Y",
                                            "Eye1_Diameter_X",
                                            "Eye1_Diameter_Y",
                                            "Iris1_Diameter_X",
                                            "Iris1_Diameter_Y",
                                            "Eye2_Center_X",
                                            "Eye2_Center_Y",
                                            "Eye2_Diameter_X",
                                            "Eye2_Diameter_Y",
                                            "Iris2_Diameter_X",
                                            "Iris2_Diameter_Y"};

std::string Character(const std::string& section, const std::string& name, int fixedTo) {
    return "[" + section + "]\nName=" + name + "\nImage_File=" + name + ".bmp\nFixed_To=" + std::to_string(fixedTo) +
           "\n\n";
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

class PanelEdits : public ::testing::Test {
protected:
    void Make(const std::string& text) { WriteBytes(path_, text); }

    // The characters as the program loads them.
    std::vector<CharacterRecord> Load() const {
        const std::vector<std::string> sections = FindCharacterSectionNames(path_);
        std::vector<CharacterRecord> records(sections.size());
        for (std::size_t i = 0; i < sections.size(); ++i) {
            records[i].mMyIndex = static_cast<int>(i) + 1;
            records[i].mINISectionName = sections[i];
            ReadCharacterRecord(path_, sections[i], static_cast<int>(sections.size()), records[i]);
        }
        return records;
    }

    static std::vector<const CharacterRecord*> Pointers(const std::vector<CharacterRecord>& records) {
        std::vector<const CharacterRecord*> pointers;
        for (const CharacterRecord& r : records)
            pointers.push_back(&r);
        return pointers;
    }

    static std::vector<std::string> Titles(const std::vector<CharacterRecord>& records) {
        std::vector<std::string> titles;
        for (const CharacterRecord& r : records)
            titles.push_back(r.mTitle);
        return titles;
    }

    std::vector<std::string> LowerSections() const {
        std::vector<std::string> names = FindCharacterSectionNames(path_);
        for (std::string& n : names)
            n = Lower(n);
        return names;
    }

    std::string Value(const std::string& section, const std::string& key) const {
        char buffer[255];
        const std::size_t n =
            profile::GetString(section.c_str(), key.c_str(), "(missing)", buffer, sizeof buffer, path_);
        return std::string(buffer, n);
    }

    // The key names of one section in file order.
    std::vector<std::string> KeysOf(const std::string& section) const {
        std::vector<std::string> keys;
        bool inside = false;
        std::istringstream lines(ReadBytes(path_));
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.front() == '[')
                inside = Lower(line) == "[" + Lower(section) + "]";
            else if (inside && line.find('=') != std::string::npos)
                keys.push_back(line.substr(0, line.find('=')));
        }
        return keys;
    }

    TestFolder folder_;
    std::string path_ = folder_.File("Lookabout.ini");
};

TEST(RenameTitle, TrimsCutsAndKeepsTheTitleOnCancel) {
    const std::u32string current = U"My faces";
    const std::u32string long300 = std::u32string(3, U' ') + std::u32string(300, U'x') + U"  ";
    const std::u32string accented300(300, U'\u00e9');
    struct Case {
        const char* what;
        std::u32string answer;
        bool confirmed;
        std::u32string title;
    };
    const Case cases[] = {
        {"spaces around", U"  Eyes on you  ", true, U"Eyes on you"},
        {"empty, confirmed", U"", true, U""},
        {"only spaces", U"     ", true, U""},
        {"cancelled", U"whatever", false, current},
        {"cancelled with an empty answer", U"", false, current},
        {"300 characters", long300, true, std::u32string(255, U'x')},
        {"300 characters beyond ASCII", accented300, true, std::u32string(255, U'\u00e9')},
        {"exactly 255", std::u32string(255, U'y'), true, std::u32string(255, U'y')},
        {"a pasted line break", U"Two\r\nlines\n", true, U"Two  lines"},
        {"tabs stay", U"\ttab\t", true, U"\ttab\t"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RenamedTitle(c.answer, c.confirmed, current), c.title) << c.what;
}

TEST_F(PanelEdits, AddWritesTheCopyAtTheEndAndSavesEveryoneInOneReplacement) {
    Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character("CHARACTER_1", "Sunny", 0) +
         Character("CHARACTER_2", "Froggy", 1) + Character("CHARACTER_3", "Whiskers", 3));
    std::vector<CharacterRecord> records = Load();
    ASSERT_EQ(records.size(), 3u);
    records[0].mSpeedX = 77; // a change made in a row, not yet saved
    const CharacterRecord froggy = records[1];
    const CharacterRecord added = AddedCharacter(records[1], 3, 833, 100);

    const std::size_t before = profile::ReplacementCount();
    ASSERT_TRUE(SaveWithAddedCharacter(Pointers(records), added, "New title", path_)) << profile::LastError();
    EXPECT_EQ(profile::ReplacementCount(), before + 1);
    EXPECT_EQ(records[1], froggy);

    EXPECT_EQ(LowerSections(), (std::vector<std::string>{"character_1", "character_2", "character_3", "character_4"}));
    EXPECT_EQ(KeysOf("CHARACTER_4"), kKeyOrder);
    EXPECT_EQ(Value("CHARACTER_4", "Name"), "New Froggy");
    EXPECT_EQ(Value("CHARACTER_4", "Fixed_To"), "4");
    EXPECT_EQ(Value("CHARACTER_4", "Start_Position_X"), "833");
    EXPECT_EQ(Value("CHARACTER_4", "Start_Position_Y"), "100");
    EXPECT_EQ(Value("CHARACTER_4", "Image_File"), "Froggy.bmp");
    EXPECT_EQ(Value("CHARACTER_1", "Speed_X"), "77");
    EXPECT_EQ(Value("General_Settings", "Program_Title"), "New title");

    const std::vector<CharacterRecord> reloaded = Load();
    ASSERT_EQ(reloaded.size(), 4u);
    EXPECT_EQ(Titles(reloaded), (std::vector<std::string>{"Sunny", "Froggy", "Whiskers", "New Froggy"}));
    EXPECT_EQ(reloaded[3].mFixed, 4); // stands still as the new last character
    EXPECT_EQ(reloaded[1].mFixed, 1);
    EXPECT_EQ(reloaded[1].mTitle, "Froggy");
}

TEST_F(PanelEdits, DeleteRenumbersSectionsAndTargets) {
    // Character 2 of four is deleted: 1 follows 4, 3 follows 2, 4 stands still.
    Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character("CHARACTER_1", "A", 4) +
         Character("CHARACTER_2", "B", 0) + Character("CHARACTER_3", "C", 2) + Character("CHARACTER_4", "D", 4));
    const std::vector<CharacterRecord> records = Load();
    ASSERT_EQ(records.size(), 4u);
    const std::vector<CharacterRecord> untouched = records;

    const DeletePlan plan = PlanDelete(Pointers(records), 2);
    EXPECT_EQ(records, untouched); // the live records stay as they are until the reload
    ASSERT_EQ(plan.remaining.size(), 3u);
    EXPECT_EQ(Titles(plan.remaining), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(plan.remaining[0].mINISectionName, "CHARACTER_1");
    EXPECT_EQ(plan.remaining[1].mINISectionName, "CHARACTER_2");
    EXPECT_EQ(plan.remaining[2].mINISectionName, "CHARACTER_3");
    EXPECT_EQ(plan.remaining[1].mFixed, 0); // followed the deleted one: now the pointer
    EXPECT_EQ(plan.remaining[2].mFixed, 3); // stood still as 4, stands still as 3
    EXPECT_EQ(plan.remaining[0].mFixed, 3); // keeps following D, which is now character 3
    EXPECT_EQ(plan.dropSections, std::vector<std::string>{"CHARACTER_4"});

    ASSERT_TRUE(SaveAfterDelete(plan, "Eyes", path_)) << profile::LastError();
    EXPECT_EQ(LowerSections(), (std::vector<std::string>{"character_1", "character_2", "character_3"}));
    const std::vector<CharacterRecord> reloaded = Load();
    EXPECT_EQ(Titles(reloaded), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(reloaded[0].mFixed, 3);
    EXPECT_EQ(reloaded[1].mFixed, 0);
    EXPECT_EQ(reloaded[2].mFixed, 3);

    // Nothing to delete with one character, or with a number that is no character.
    EXPECT_TRUE(PlanDelete(Pointers(std::vector<CharacterRecord>(reloaded.begin(), reloaded.begin() + 1)), 1)
                    .remaining.empty());
    EXPECT_TRUE(PlanDelete(Pointers(reloaded), 0).remaining.empty());
    EXPECT_TRUE(PlanDelete(Pointers(reloaded), 4).remaining.empty());
}

TEST_F(PanelEdits, HandNamedFilesNeitherLoseNorDuplicateCharacters) {
    // Sections named by hand, a section that is no character, and one that merely carries the name
    // Add would choose.
    Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character("Smiley", "Smiley", 0) +
         Character("Frog", "Frog", 1) + "[CHARACTER_4]\nImage_File=\nRemark=not a character\n\n" +
         Character("Cat", "Cat", 2) + "[Notes]\nText=kept\n\n");
    std::vector<CharacterRecord> records = Load();
    ASSERT_EQ(Titles(records), (std::vector<std::string>{"Smiley", "Frog", "Cat"}));

    // Add a copy of Frog: CHARACTER_4 is taken, so the copy goes into the next free name at the end.
    ASSERT_TRUE(SaveWithAddedCharacter(Pointers(records), AddedCharacter(records[1], 3, 10, 20), "Eyes", path_));
    EXPECT_EQ(Value("CHARACTER_4", "Remark"), "not a character");
    records = Load();
    ASSERT_EQ(Titles(records), (std::vector<std::string>{"Smiley", "Frog", "Cat", "New Frog"}));
    EXPECT_EQ(records[3].mFixed, 4);
    EXPECT_EQ(Lower(records[3].mINISectionName), "character_5");

    // Delete Frog: every character section is written anew as CHARACTER_1..3, in order; the old
    // hand-named sections go, so none of them is read as a character again.
    const DeletePlan plan = PlanDelete(Pointers(records), 2);
    ASSERT_TRUE(SaveAfterDelete(plan, "Eyes", path_)) << profile::LastError();
    records = Load();
    EXPECT_EQ(Titles(records), (std::vector<std::string>{"Smiley", "Cat", "New Frog"}));
    EXPECT_EQ(records[0].mFixed, 0);
    EXPECT_EQ(records[1].mFixed, 0); // followed Frog
    EXPECT_EQ(records[2].mFixed, 3);
    EXPECT_EQ(Value("Notes", "Text"), "kept");
    EXPECT_EQ(Value("Smiley", "Name"), "(missing)");
    EXPECT_EQ(Value("Frog", "Name"), "(missing)");
}

TEST_F(PanelEdits, AFailedSaveLeavesTheFileAsItWas) {
    Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character("CHARACTER_1", "A", 0) +
         Character("CHARACTER_2", "B", 1) + Character("CHARACTER_3", "C", 3));
    const std::string original = ReadBytes(path_);
    std::vector<CharacterRecord> records = Load();
    records[0].mSpeedY = 99;
    {
        FailingRename crash;
        EXPECT_FALSE(SaveWithAddedCharacter(Pointers(records), AddedCharacter(records[0], 3, 1, 2), "Eyes", path_));
        EXPECT_FALSE(profile::LastError().empty());
        EXPECT_FALSE(SaveAfterDelete(PlanDelete(Pointers(records), 2), "Eyes", path_));
    }
    EXPECT_EQ(ReadBytes(path_), original);
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"Lookabout.ini"});
}

} // namespace
