// What the panel's Add, Delete and Rename leave in the records and in the settings file, also for
// files whose character sections were named by hand, and when the file cannot hold a value.
#include "panel/PanelEdits.h"
#include "settings/Configuration.h"
#include "settings/PrivateProfile.h"
#include "settings/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <tuple>

namespace {

// Each character's name, target and section (in lower case).
using Summary = std::vector<std::tuple<std::string, int, std::string>>;

std::string Character(const std::string& section, const std::string& name, int fixedTo) {
    return "[" + section + "]\nName=" + name + "\nImage_File=" + name + ".bmp\nFixed_To=" + std::to_string(fixedTo) +
           "\n\n";
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
    static Summary Summarise(const std::vector<CharacterRecord>& records) {
        Summary summary;
        for (const CharacterRecord& r : records) {
            std::string section = r.mINISectionName;
            std::transform(section.begin(), section.end(), section.begin(),
                           [](unsigned char c) { return char(std::tolower(c)); });
            summary.emplace_back(r.mTitle, r.mFixed, section);
        }
        return summary;
    }
    std::string Value(const std::string& section, const std::string& key) const {
        char buffer[255];
        return std::string(buffer, profile::GetString(section.c_str(), key.c_str(), "?", buffer, 255, path_));
    }

    TestFolder folder_;
    std::string path_ = folder_.File("Lookabout.ini");
};

TEST(RenameTitle, TrimsCutsAndKeepsTheTitleOnCancel) {
    const std::u32string current = U"My faces";
    const struct {
        std::u32string answer;
        bool confirmed;
        std::u32string title;
    } cases[] = {
        {U"  Eyes on you  ", true, U"Eyes on you"},
        {U"     ", true, U""},
        {U"whatever", false, current},
        {std::u32string(300, U'\u00e9'), true, std::u32string(255, U'\u00e9')}, // characters, not bytes
        {U"Two\r\nlines\n", true, U"Two  lines"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RenamedTitle(c.answer, c.confirmed, current), c.title) << c.answer.size();
}

TEST_F(PanelEdits, AddWritesTheCopyInTheNextFreeSectionAndSavesEveryoneInOneReplacement) {
    // Hand-named sections; one that merely carries the name Add would choose is no character and stays.
    Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character("Smiley", "Smiley", 0) +
         Character("Frog", "Frog", 1) + "[character_4]\nImage_File=\nRemark=not a character\n\n" +
         Character("Cat", "Cat", 3));
    std::vector<CharacterRecord> records = Load();
    ASSERT_EQ(records.size(), 3u);
    records[0].mSpeedX = 77; // a change made in a row, not yet saved
    const std::size_t before = profile::ReplacementCount();
    ASSERT_TRUE(SaveWithAddedCharacter(Pointers(records), AddedCharacter(records[1], 3, 833, 100), "New title", path_));
    EXPECT_EQ(profile::ReplacementCount(), before + 1);
    const std::array<const char*, 3> values[] = {
        {"CHARACTER_5", "Start_Position_X", "833"},         {"CHARACTER_5", "Start_Position_Y", "100"},
        {"CHARACTER_5", "Image_File", "Frog.bmp"},          {"Smiley", "Speed_X", "77"},
        {"General_Settings", "Program_Title", "New title"}, {"CHARACTER_4", "Remark", "not a character"}};
    for (const auto& [section, key, value] : values)
        EXPECT_EQ(Value(section, key), value) << key;
    EXPECT_EQ(Summarise(Load()), (Summary{{"Smiley", 0, "smiley"},
                                          {"Frog", 1, "frog"},
                                          {"Cat", 3, "cat"},
                                          {"New Frog", 4, "character_5"}})); // stands still as the new last one
}

TEST_F(PanelEdits, DeleteRenumbersSectionsAndTargetsInAnyFile) {
    // The sections of characters 1..4, named in order, by hand, or mixed; a section that is no character stays.
    const std::vector<std::string> layouts[] = {{"CHARACTER_1", "CHARACTER_2", "CHARACTER_3", "CHARACTER_4"},
                                                {"CHARACTER_1", "Character_2", "CHARACTER_3", "CHARACTER_4"},
                                                {"Smiley", "Frog", "Cat", "Owl"},
                                                {"CHARACTER_1", "Frog", "CHARACTER_3", "CHARACTER_4"}};
    for (const auto& names : layouts) {
        SCOPED_TRACE(names[1]);
        // Character 2 of four is deleted: 1 follows 4, 3 follows 2, 4 stands still.
        Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character(names[0], "A", 4) + Character(names[1], "B", 0) +
             "[Notes]\nText=kept\n\n" + Character(names[2], "C", 2) + Character(names[3], "D", 4));
        const std::vector<CharacterRecord> records = Load();
        ASSERT_EQ(records.size(), 4u);
        const std::vector<CharacterRecord> untouched = records;
        const DeletePlan plan = PlanDelete(Pointers(records), 2);
        EXPECT_EQ(records, untouched); // the live records stay as they are until the reload
        ASSERT_TRUE(SaveAfterDelete(plan, "After", path_));

        // A follower of the deleted one turns to the pointer; the others keep their targets, renumbered.
        const Summary expected = {{"A", 3, "character_1"}, {"C", 0, "character_2"}, {"D", 3, "character_3"}};
        EXPECT_EQ(Summarise(plan.remaining), expected);
        EXPECT_EQ(Summarise(Load()), expected);
        EXPECT_EQ(Value("Notes", "Text"), "kept");
        EXPECT_EQ(Value("General_Settings", "Program_Title"), "After");
        EXPECT_EQ(Value("Frog", "Name"), "?"); // no old hand-named section is read again
    }
    // A section named like a character's that is none (it names no picture) does not take one in.
    Make("[CHARACTER_2]\nName=Nobody\n\n" + Character("Smiley", "A", 0) + Character("Frog", "B", 0) +
         Character("Grin", "C", 0));
    ASSERT_TRUE(SaveAfterDelete(PlanDelete(Pointers(Load()), 3), "After", path_));
    EXPECT_EQ(Summarise(Load()), (Summary{{"A", 0, "character_1"}, {"B", 0, "character_2"}}));
    // Nothing to delete with one character, or with a number that is no character.
    const std::vector<CharacterRecord> two = Load();
    for (const auto& [records, del] : {std::pair{std::vector{two[0]}, 1}, {two, 0}, {two, 3}})
        EXPECT_TRUE(PlanDelete(Pointers(records), del).remaining.empty()) << del;
}

TEST_F(PanelEdits, AValueTheFileCannotHoldRefusesTheWholeChange) {
    // Half an Add would leave a character without a name in the file, half a Delete the characters
    // renumbered on disk but not in memory. (A failing write is tried through the panel.)
    Make("[General_Settings]\nProgram_Title=Eyes\n\n" + Character("CHARACTER_1", "A", 0) +
         Character("CHARACTER_2", "B", 1) + Character("CHARACTER_3", "C", 3));
    const std::string original = ReadBytes(path_);
    std::vector<CharacterRecord> records = Load();
    records[2].mTitle = "two\nlines";
    EXPECT_FALSE(SaveWithAddedCharacter(Pointers(records), AddedCharacter(records[0], 3, 1, 2), "Eyes", path_));
    EXPECT_NE(profile::LastError().find("[CHARACTER_3] Name"), std::string::npos);
    EXPECT_FALSE(SaveAfterDelete(PlanDelete(Pointers(records), 1), "Eyes", path_));
    EXPECT_EQ(ReadBytes(path_), original);
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"Lookabout.ini"});
}

} // namespace
