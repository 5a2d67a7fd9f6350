// The settings file: files written and hand-edited on Windows read the same here; a write changes
// only the lines it must, atomically, or refuses and says why; every key is read by its rule, hostile
// values included; and a process killed at any moment of a save leaves the old or the new file.
#include "settings/AtomicFile.h"
#include "settings/Configuration.h"
#include "settings/FailingRename.h"
#include "settings/PrivateProfile.h"
#include "settings/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <clocale>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const char* const kMissing = "<missing>";

// A value read as the program reads it: into a buffer of 255 characters.
std::string Read(const std::string& path, const char* section, const char* key) {
    char buffer[255];
    return std::string(buffer, profile::GetString(section, key, kMissing, buffer, sizeof buffer, path));
}

// Puts a known reason into LastError, so a test sees a new failure replace it.
std::string MarkLastError() {
    profile::WriteString(nullptr, "Key", "value", "unused.ini");
    return profile::LastError();
}

// A text of lines this program writes anew, with the line end it gives them on this platform.
std::string WithNewLineEnds(std::string text) {
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += kNewLineEnd.size())
        text.replace(at, 1, kNewLineEnd);
    return text;
}

constexpr std::int32_t Rgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}

class SettingsFile : public ::testing::Test {
protected:
    void Make(const std::string& bytes) { WriteBytes(path_, bytes); }
    std::string Bytes() const { return ReadBytes(path_); }

    // Character `index` of `count`, read from `section`, as the loader does it.
    CharacterRecord Load(const std::string& section, int index, int count, const std::string& path) const {
        CharacterRecord r;
        r.mMyIndex = index;
        r.mINISectionName = section;
        ReadCharacterRecord(path, section, count, r);
        return r;
    }

    TestFolder folder_;
    const std::string path_ = folder_.File("Lookabout.ini");
};

} // namespace

TEST_F(SettingsFile, ReadsValuesByTheWindowsRules) {
    // clang-format off
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        // ASCII case of names does not count; nor do blanks around names and values
        {"[General_Settings]\nProgram_Title=Eyes\n", "GENERAL_settings", "program_TITLE", "Eyes"},
        {"  [  Smiley  ]  \n   Name   =   Big Smile   \n", "Smiley", "Name", "Big Smile"},
        {"[S]\n\tName\t=\tTab\t\n", " S ", " Name ", "Tab"},
        // one pair of matching quotes is removed, after the blanks
        {"[S]\nName=  \" inner \"  \n", "S", "Name", " inner "}, {"[S]\nName='Single'\n", "S", "Name", "Single"},
        {"[S]\nName=\"Mixed'\n", "S", "Name", "\"Mixed'"},      {"[S]\nName=\"\n", "S", "Name", "\""},
        // the first of duplicate keys and of duplicate sections wins
        {"[S]\nName=First\nname=Second\n", "S", "Name", "First"},
        {"[S]\nA=1\n[s]\nName=OnlyInSecond\n", "S", "Name", kMissing},
        // lines without '=' and comments are not keys; nor is a key before the first section
        {"[S]\nName\n", "S", "Name", kMissing},            {"[S]\n   ; Name=Hidden\n", "S", "Name", kMissing},
        {"Name=Outside\n[S]\n", "S", "Name", kMissing},    {"[A]\nName=a\n[B]\n", "B", "Name", kMissing},
        // an empty value is a value, not a missing key; '=' after the first belongs to the value
        {"[S]\nName=\n", "S", "Name", ""},                 {"[S]\nName=a=b\n", "S", "Name", "a=b"},
        // line endings, and a UTF-8 byte-order mark that must not hide the first section
        {"[S]\rName=cr\rB=x\r", "S", "Name", "cr"}, {"[S]\nA=lf\r\nName=mixed\rB=x\n", "S", "Name", "mixed"},
        {"\xEF\xBB\xBF[S]\r\nName=unended", "S", "Name", "unended"}};
    // clang-format on
    for (const auto& [file, section, key, expected] : cases) {
        Make(file);
        EXPECT_EQ(Read(path_, section, key), expected) << file;
    }
    // Whole numbers: sign and leading digits, saturated at 32 bits; a blank value takes the default.
    // clang-format off
    const std::pair<const char*, int> numbers[] = {
        {"12abc", 12}, {"abc", 0}, {"-100", -100}, {"+7", 7}, {"  \"15\"  ", 15}, {"-", 0}, {"", 99}, {"   ", 99},
        {"2147483648", INT_MAX}, {"99999999999999999999", INT_MAX}, {"-2147483649", INT_MIN}};
    // clang-format on
    for (const auto& [value, expected] : numbers) {
        Make(std::string("[S]\nKey=") + value + "\n");
        EXPECT_EQ(profile::GetInt("s", "KEY", 99, path_), expected) << "value \"" << value << '"';
    }
    EXPECT_EQ(profile::GetInt("S", "Key", -5, folder_.File("none.ini")), -5);
}

TEST_F(SettingsFile, GetStringAndSectionNamesAreCutLikeTheWindowsCalls) {
    Make("[S]\nName=abcdef\n");
    // Key, buffer size, text and count returned; the default loses its trailing blanks, as on Windows.
    const std::tuple<const char*, std::size_t, const char*, std::size_t> strings[] = {
        {"Name", 7, "abcdef", 6}, {"Name", 6, "abcde", 5}, {"Name", 1, "", 0}, {"Nope", 14, "Lookabout", 9}};
    for (const auto& [key, size, text, count] : strings) {
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(profile::GetString("S", key, "Lookabout  ", buffer, size, path_), count) << key << " into " << size;
        EXPECT_STREQ(buffer, text);
        EXPECT_EQ(buffer[size], 'x') << "wrote beyond the buffer";
    }
    // 29 characters of names and NULs. The Windows call needs room for the list and a closing NUL
    // plus one more: a buffer of exactly 30 counts as too small, and the result is size - 2.
    // A section without a name is none. Without a key name GetString lists the section's keys alike.
    Make("[ section1 ]\r\n[]\r\nImage_File=a.bmp\r\n[section2]\r\n[SECTION1]\r\n[section3]\r\n"
         "[K]\r\nkey1=1\r\n;x=2\r\nKEY2=\r\nkey1=3\r\nkey3\r\n");
    const std::string all("section1\0section2\0section3\0K\0\0", 30);
    // clang-format off
    const std::tuple<const char*, std::size_t, std::size_t, std::string> lists[] = {
        {nullptr, 31, 29, all}, {nullptr, 30, 28, all}, {nullptr, 12, 10, std::string("section1\0s\0\0", 12)},
        {"k", 16, 10, std::string("key1\0KEY2\0\0", 11)}, {"K", 9, 7, std::string("key1\0KE\0\0", 9)}};
    // clang-format on
    for (const auto& [section, size, count, contents] : lists) {
        char buffer[100];
        std::memset(buffer, 0x0c, sizeof buffer);
        EXPECT_EQ(profile::GetString(section, nullptr, "default", buffer, size, path_), count) << size;
        EXPECT_EQ(std::string(buffer, contents.size()), contents) << size;
    }
}

TEST_F(SettingsFile, WritesChangeOnlyTheLinesTheyMust) {
    // The file before, section, key, value, the file after.
    // clang-format off
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cases[] = {
        // a new key goes to the end of its section, before the blank line; after a last line without ending;
        // in a CR file
        {"[A]\nx=1\n\n[B]\ny=2\n", "a", "z", "3", "[A]\nx=1\nz=3\n\n[B]\ny=2\n"},
        {"[A]\nx=1", "A", "z", "3", "[A]\nx=1\nz=3\n"}, {"[A]\rx=1\r", "A", "z", "3", "[A]\rx=1\rz=3\r"},
        // a CR LF file keeps its comments and spacing
        {"; settings\r\n[A]\r\n  x  =  1\r\n; note\r\n\r\n[B]\r\n\ty=2\r\n", "A", "X", "2",
         "; settings\r\n[A]\r\n  x  =  2\r\n; note\r\n\r\n[B]\r\n\ty=2\r\n"},
        // deleting a key; a section with its keys but not the blank lines around it; what is not there
        {"[A]\r\nx=1\r\n  Y = 2 \r\n; y=old\r\nz=3\r\n", "A", "y", nullptr, "[A]\r\nx=1\r\n; y=old\r\nz=3\r\n"},
        {"; top\n[A]\nx=1\n\n[B]\ny=2\nw=4\n\n[C]\nz=3\n", "b", nullptr, nullptr, "; top\n[A]\nx=1\n\n\n[C]\nz=3\n"},
        {"[A]\nx=1\n", "Q", nullptr, nullptr, "[A]\nx=1\n"},
        // a value that reads the same; a new section right after the last line; a byte-order mark kept
        {"[A]\nx = \"1\"  \n", "A", "x", "1", "[A]\nx = \"1\"  \n"},
        {"[A]\nx=1\n", "B", "y", "2", "[A]\nx=1\n[B]\ny=2\n"},
        {"\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x", "2", "\xEF\xBB\xBF[A]\r\nx=2\r\n"}};
    // clang-format on
    for (const auto& [before, section, key, value, after] : cases) {
        Make(before);
        const std::size_t replacements = profile::ReplacementCount();
        EXPECT_TRUE(profile::WriteString(section, key, value, path_)) << before;
        EXPECT_EQ(Bytes(), after);
        EXPECT_EQ(profile::ReplacementCount() == replacements, Bytes() == before) << "no change, no save: " << before;
    }
    // Values that reading would change (blanks at an end, a pair of quotes) are written in quotes; a file
    // that is not there yet is made.
    for (const char* value : {" padded ", "'quoted'", "\"\"", "tab\t", "plain 'inner' text", "\"", ""}) {
        ASSERT_TRUE(profile::WriteString("S", "k", value, folder_.File("new.ini"))) << value;
        EXPECT_EQ(Read(folder_.File("new.ini"), "S", "k"), value);
    }
}

TEST_F(SettingsFile, RefusesWritesThatWouldChangeTheStructureOrCannotReachTheDisk) {
    const std::string original = "[A]\r\nk=1\r\n; keep me\r\n";
    // The last write is sound, but its replacement fails once the temporary file is written.
    // clang-format off
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"A", "k", "two\nlines"}, {"A", "k", "cr\r"}, {"A\nB", "k", "v"}, {"A", "k\n", "v"}, {"A", "k=x", "v"},
        {"New]", "k", "v"},       {"A", "[k", "v"},   {"A", "  ;k", "v"},  {"A", "k", "2"}};
    // clang-format on
    FailingRename crash;
    for (const auto& [section, key, value] : cases) {
        Make(original);
        const std::string marked = MarkLastError();
        EXPECT_FALSE(profile::WriteString(section, key, value, path_)) << section << " / " << key << " / " << value;
        EXPECT_EQ(Bytes(), original);
        EXPECT_NE(profile::LastError(), marked);
        EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"Lookabout.ini"});
    }
    // A missing folder fails a save at the end; a read-only file or folder and a full disk run end to end.
}

TEST_F(SettingsFile, ASessionReplacesTheFileOnceForManyWrites) {
    Make("[A]\nk=1\n");
    const std::size_t before = profile::ReplacementCount();
    {
        profile::Session outer(path_);
        ASSERT_TRUE(profile::WriteString("B", "k", "2", path_));
        {
            profile::Session inner(path_); // joins the outer one and writes nothing itself
            ASSERT_TRUE(profile::WriteString("C", "k", "3", path_));
            EXPECT_TRUE(inner.Commit());
        }
        EXPECT_EQ(profile::GetInt("C", "k", 0, path_), 3); // reads see the session's writes; the disk does not, yet
        EXPECT_EQ(Bytes(), "[A]\nk=1\n");
        EXPECT_TRUE(outer.Commit());
    }
    EXPECT_EQ(profile::ReplacementCount(), before + 1);
    EXPECT_EQ(Read(path_, "C", "k") + Read(path_, "B", "k"), "32");
    profile::Session refused(path_);
    EXPECT_TRUE(profile::WriteString("A", "k", "2", path_));
    EXPECT_FALSE(profile::WriteString("A", "k=", "3", path_));
    const std::string marked = MarkLastError();
    EXPECT_FALSE(refused.Commit()) << "a refused write inside the session";
    EXPECT_NE(profile::LastError(), marked);
    EXPECT_EQ(Read(path_, "A", "k"), "2"); // what was accepted is written all the same
}

TEST_F(SettingsFile, EveryKeyIsReadByItsRuleAndSavedInTheTableOrder) {
    // A section with only a picture: every default, character 3 of 4 standing still, keys in the table's order.
    const std::string defaults =
        "Name=Character\nImage_File=x.bmp\nFixed_To=3\nFlee=0\nSpeed_X=30\nSpeed_Y=20\nStart_Position_X=0\n"
        "Start_Position_Y=0\nTransparency=0\nNo_Mouseclick=0\nIris_Color=40,90,220\nPupil_Color=0,0,0\nIris_Width=1\n"
        "Eye1_Center_X=-100\nEye1_Center_Y=-100\nEye1_Diameter_X=8\nEye1_Diameter_Y=8\nIris1_Diameter_X=4\n"
        "Iris1_Diameter_Y=4\nEye2_Center_X=-100\nEye2_Center_Y=-100\nEye2_Diameter_X=8\nEye2_Diameter_Y=8\n"
        "Iris2_Diameter_X=4\nIris2_Diameter_Y=4\n";
    // What every other key holds, and what is saved of it, key by key; # is that value itself. The lowest
    // numbers and odder values run end to end.
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"   ", "|x.bmp|3|0|30|20|0|0|0|0|0,0,0|0,0,0|1|-100|-100|8|8|4|4|-100|-100|8|8|4|4"},
        {"0", "#|x.bmp|#|#|5|#|#|#|#|#|0,0,0|0,0,0|#|#|#|#|#|#|#|#|#|#|#|#|#"},
        {"4", "#|x.bmp|#|1|5|#|#|#|#|1|4,0,0|4,0,0|#|#|#|#|#|#|#|#|#|#|#|#|#"},
        {"500", "#|x.bmp|3|1|200|#|#|#|255|1|255,0,0|255,0,0|255|#|#|#|#|#|#|#|#|#|#|#|#"}};
    // clang-format on
    const std::string fresh = folder_.File("fresh.ini");
    std::vector<std::pair<std::string, std::string>> files = {{"[C]\nImage_File=x.bmp\n", "[C]\n" + defaults}};
    for (const auto& [value, saved] : cases) {
        std::string file = "[C]\nImage_File=x.bmp\n", expected = "[C]\n", rest = std::string(saved) + "|";
        for (std::size_t at = 0, eq; (eq = defaults.find('=', at)) != std::string::npos;
             at = defaults.find('\n', eq) + 1) {
            const std::string key = defaults.substr(at, eq - at), piece = rest.substr(0, rest.find('|'));
            file += key == "Image_File" ? "" : key + "=" + value + "\n";
            expected += key + "=" + (piece == "#" ? value : piece) + "\n";
            rest.erase(0, rest.find('|') + 1);
        }
        files.emplace_back(file, expected);
    }
    for (const auto& [file, expected] : files) {
        Make(file);
        const CharacterRecord read = Load("C", 3, 4, path_);
        std::filesystem::remove(FromUtf8(fresh));
        ASSERT_TRUE(SaveAllCharacters({&read}, "T", fresh));
        EXPECT_EQ(ReadBytes(fresh), WithNewLineEnds(expected + "[General_Settings]\nProgram_Title=T\n")) << file;
        EXPECT_EQ(Load("C", 3, 4, fresh), read) << "read back";
        const std::size_t replacements = profile::ReplacementCount(); // saved again unchanged: not written
        ASSERT_TRUE(SaveAllCharacters({&read}, "T", fresh));
        EXPECT_EQ(profile::ReplacementCount(), replacements);
    }
}

TEST_F(SettingsFile, ColourTexts) {
    // The program runs under the desktop's locale; a German one would read 12,9 for twelve point nine.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name))
            break;
    // clang-format off
    const std::pair<const char*, std::int32_t> cases[] = {
        {"300,-5,12.9", Rgb(255, 0, 12)}, {"1,2,3,4", Rgb(1, 2, 3)},      {" 7 , 8 , 9 ", Rgb(7, 8, 9)},
        {"7", Rgb(7, 0, 0)},              {"1,,3", Rgb(1, 0, 3)},         {"a,5,b", Rgb(0, 5, 0)},
        {"inf,-inf,7", Rgb(255, 0, 7)}, {"2147483648,9e9,-0.5", Rgb(255, 255, 0)}, {"12 13,1 ,\t9\t", Rgb(0, 1, 9)},
        {"255.99,0,0", Rgb(255, 0, 0)}}; // more odd texts run end to end
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseColor(text), expected) << text;
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST_F(SettingsFile, TextsAreCutAt254BytesOfWholeCharactersAndTrimmed) {
    std::string accents = "a", euros; // "a" and 126.5 e-acutes of 2 bytes; 84.7 euro signs of 3 bytes
    for (int i = 0; i < 300; ++i) {
        accents += "\xC3\xA9";
        euros += "\xE2\x82\xAC";
    }
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"   Big   Eyes   ", "Big   Eyes"}, {"\"  Quoted  \"", "Quoted"}, {"", ""}, {euros, euros.substr(0, 252)},
        {std::string(250, 'n') + "    tail", std::string(250, 'n')}, {accents, accents.substr(0, 253)}};
    // clang-format on
    for (const auto& [text, kept] : cases) {
        Make("[General_Settings]\nProgram_Title=" + text + "\n[C]\nName=" + text + "\nImage_File=x.bmp\n");
        EXPECT_EQ(ReadGeneralSettings(path_).programTitle, kept);
        EXPECT_EQ(Load("C", 1, 1, path_).mTitle, kept);
    }
    // Advanced editing is on unless the file says 0.
    for (const auto& [file, advanced] : {std::pair{"", true}, {"=0\n", false}, {"=-1\n", true}, {"=\n", true}}) {
        Make(std::string("[General_Settings]\nAdvanced_Editing") + file);
        EXPECT_EQ(ReadGeneralSettings(path_).advancedEditing, advanced) << file;
    }
}

TEST_F(SettingsFile, CharactersAreTheSectionsWithAPicture) {
    for (const std::string& damaged : std::vector<std::string>{
             "", "; nothing but a comment\nImage_File=face.bmp\n", "[CHARACTER_1]\nImage_File=   \nName=Frog\n",
             "[CHARACTER_1]\nName=Frog\n", "[CHARACTER_1]\n;Image_File=frog.gif\n",
             "[CHARACTER_1]\nImage_File=' \t '\n", // blanks that quotes kept: still no picture named
             std::string("[CHARACTER_1]\nImage_File=\t\0x.bmp\n", 33)}) { // a NUL ends the name after the tab
        Make(damaged);
        EXPECT_TRUE(FindCharacterSectionNames(path_).empty()) << damaged;
    }
    // Any name; a second section of the same name is not a second character; hundreds of them all count.
    std::string many = "[General_Settings]\nProgram_Title=Eyes\n[Frog]\nImage_File=f.bmp\n[Notes]\nText=x\n";
    for (int i = 1; i <= 400; ++i)
        many += "[A_Character_Section_With_A_Long_Name_" + std::to_string(i) + "]\nImage_File=a.bmp\n";
    Make(many + "[FROG]\nImage_File=second.bmp\n");
    const std::vector<std::string> found = FindCharacterSectionNames(path_);
    ASSERT_EQ(found.size(), 401u);
    EXPECT_EQ(found[0], "Frog");
    EXPECT_EQ(found.back(), "A_Character_Section_With_A_Long_Name_400");
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
        std::vector<CharacterRecord*> records, remaining;
        for (int k = 1; k <= 4; ++k) {
            storage[k - 1].mINISectionName = CharacterSectionName(k);
            storage[k - 1].mFixed = fixedBefore[k - 1];
            records.push_back(&storage[k - 1]);
            if (k != del)
                remaining.push_back(&storage[k - 1]);
        }
        EXPECT_EQ(RenumberForDelete(records, del), std::vector<std::string>{"CHARACTER_4"});
        ASSERT_EQ(records, remaining) << "delete " << del;
        std::vector<int> fixed; // the sections' new names are seen through the panel's Delete
        for (const CharacterRecord* r : records)
            fixed.push_back(r->mFixed);
        EXPECT_EQ(fixed, fixedAfter) << "delete " << del;
    }
}

TEST(SaveUnderKill, TheFileIsAlwaysTheOldOrTheNewOneAndLoads) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has neither fork nor SIGKILL, with which this test kills a saving child";
#else
    TestFolder folder;
    const std::string path = folder.File("Lookabout.ini");
    // Two versions of the same 40 characters, differing in every section.
    const auto saveVersion = [&](int which) {
        std::vector<CharacterRecord> records(40);
        std::vector<const CharacterRecord*> pointers;
        for (int k = 1; k <= 40; ++k) {
            records[k - 1].mINISectionName = CharacterSectionName(k);
            records[k - 1].mFixed = which ? 0 : k;
            records[k - 1].mTitle = (which ? "New, longer name of character " : "Name ") + std::to_string(k);
            records[k - 1].mPicFileName = "face.bmp";
            pointers.push_back(&records[k - 1]);
        }
        return SaveAllCharacters(pointers, "Killed while saving", path);
    };
    std::string texts[2];
    for (int which : {0, 1, 0, 1}) { // a save changes lines in place, so each version settles into one text
        ASSERT_TRUE(saveVersion(which));
        texts[which] = ReadBytes(path);
    }
    ASSERT_NE(texts[0], texts[1]);

    std::mt19937 random(20240607);
    int leftovers = 0; // kills between the temporary file's creation and the rename
    // Eight kills at least, sixteen while the machine is quick enough: a sanitizer build on a busy
    // machine takes seconds for each save.
    const auto started = std::chrono::steady_clock::now();
    const auto inTime = [&] { return std::chrono::steady_clock::now() - started < std::chrono::seconds(30); };
    for (int kill = 0; kill < 16 && (kill < 8 || inTime()); ++kill) {
        // Each kill lands right around a rename, the one moment that decides between the old and the new
        // file: there the child waits 2 ms after its temporary file is complete. (Each waits for a save to
        // reach the disk, so a few suffice.)
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            atomic_file::SetBeforeRenameHookForTest([signal = ready[1]] {
                [[maybe_unused]] const auto n = ::write(signal, "r", 1);
                ::usleep(2000);
                return true;
            });
            while (saveVersion(1) && saveVersion(0)) {
            }
            ::_exit(3);
        }
        ::close(ready[1]);
        pollfd wait{ready[0], POLLIN, 0};
        ASSERT_EQ(::poll(&wait, 1, 30000), 1) << "the saving child never reached a rename";
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(random));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        ::close(ready[0]);

        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == texts[0] || now == texts[1]) << "after kill " << kill << " the file is neither version";
        ASSERT_EQ(FindCharacterSectionNames(path).size(), 40u) << "after kill " << kill;
        leftovers += atomic_file::RemoveLeftovers(path);
        ASSERT_EQ(folder.Entries(), std::vector<std::string>{"Lookabout.ini"}) << "after kill " << kill;
    }
    EXPECT_GE(leftovers, 1) << "no kill landed inside a save, so the test proved little";
#endif
}

TEST(SaveUnderKill, ClearingLeftoversTouchesNothingElse) {
    TestFolder folder;
    const std::string path = folder.File("Lookabout.ini");
    WriteBytes(path, "[A]\nk=1\n");
    // A user's backups, names close to ours, and a folder or a link named like a leftover stay.
    std::vector<std::string> kept = {
        ".Lookabout.ini.backup",          ".Lookabout.ini.save-Ab12Cd",     ".Lookabout.ini.save-Ab12C.tmp",
        ".Lookabout.ini.save-Ab_2Cd.tmp", ".Other.ini.save-Ab12Cd.tmp",     "Lookabout.ini.save-Ab12Cd.tmp",
        ".Lookabout.ini.save-DIR123.tmp", "Lookabout.ini"};
    for (const std::string& name : {kept[0], kept[1], kept[2], kept[3], kept[4], kept[5]})
        WriteBytes(folder.File(name), "x");
    ASSERT_TRUE(std::filesystem::create_directory(FromUtf8(folder.File(kept[6]))));
    WriteBytes(folder.File(".Lookabout.ini.save-Ab12Cd.tmp"), "half a save");
    WriteBytes(folder.File(".Lookabout.ini.save-zzzzzz.tmp"), "");
#ifndef _WIN32 // Windows makes links only with a privilege, and has no user ids of files
    kept.push_back(".Lookabout.ini.save-LNK123.tmp");
    ASSERT_EQ(::symlink(kept[0].c_str(), folder.File(kept.back()).c_str()), 0);
    // Nor is another user's file of our shape ours; only root can make one to try.
    if (::geteuid() == 0) {
        kept.push_back(".Lookabout.ini.save-Other1.tmp");
        WriteBytes(folder.File(kept.back()), "x");
        ASSERT_EQ(::chown(folder.File(kept.back()).c_str(), 65534, 65534), 0);
    }
#endif
    EXPECT_EQ(atomic_file::RemoveLeftovers(path), 2);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(folder.Entries(), kept);
    EXPECT_EQ(ReadBytes(path), "[A]\nk=1\n");
}
