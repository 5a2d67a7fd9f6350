// The private-profile layer: settings files written and hand-edited on Windows must read the same
// here, and a write must change only the lines it must, atomically, or refuse and say why.
#include "start/FailingRename.h"
#include "start/PrivateProfile.h"
#include "start/TestFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#ifndef _WIN32
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

// LastError keeps the reason of the last failure; put a known one there so a test sees a new failure replace it.
std::string MarkLastError() {
    profile::WriteString(nullptr, "Key", "value", "unused.ini");
    return profile::LastError();
}

class IniFile : public ::testing::Test {
protected:
    void Make(const std::string& bytes) { WriteBytes(path_, bytes); }
    std::string Bytes() const { return ReadBytes(path_); }

    TestFolder folder_;
    const std::string path_ = folder_.File("Lookabout.ini");
};

TEST_F(IniFile, ReadsValuesByTheWindowsRules) {
    // clang-format off
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        // ASCII case of names does not count; nor do blanks around names and values
        {"[General_Settings]\nProgram_Title=Eyes\n", "GENERAL_settings", "program_TITLE", "Eyes"},
        {"  [  Smiley  ]  \n   Name   =   Big Smile   \n", "Smiley", "Name", "Big Smile"},
        {"[S]\n\tName\t=\tTab\t\n", " S ", " Name ", "Tab"},
        // one pair of matching quotes is removed, after the blanks
        {"[S]\nName=\"Quoted\"\n", "S", "Name", "Quoted"},     {"[S]\nName='Single'\n", "S", "Name", "Single"},
        {"[S]\nName=  \" inner \"  \n", "S", "Name", " inner "}, {"[S]\nName=\"\"\n", "S", "Name", ""},
        {"[S]\nName=\"Mixed'\n", "S", "Name", "\"Mixed'"},      {"[S]\nName=\"\n", "S", "Name", "\""},
        {"[S]\nName=\"a\" \"b\"\n", "S", "Name", "a\" \"b"},
        // the first of duplicate keys and of duplicate sections wins
        {"[S]\nName=First\nname=Second\n", "S", "Name", "First"},
        {"[S]\nName=First\n[s]\nName=Second\n", "S", "Name", "First"},
        {"[S]\nA=1\n[s]\nName=OnlyInSecond\n", "S", "Name", kMissing},
        // lines without '=' and comments are not keys; nor is a key before the first section
        {"[S]\nName\n", "S", "Name", kMissing},            {"[S]\n;Name=Hidden\n", "S", ";Name", kMissing},
        {"[S]\n   ; Name=Hidden\n", "S", "Name", kMissing}, {"Name=Outside\n[S]\n", "S", "Name", kMissing},
        {"[A]\nName=a\n[B]\n", "B", "Name", kMissing},
        // an empty value is a value, not a missing key; '=' after the first belongs to the value
        {"[S]\nName=\n", "S", "Name", ""},                 {"[S]\nName=a=b\n", "S", "Name", "a=b"},
        // line endings
        {"[S]\r\nName=crlf\r\nB=x\r\n", "S", "Name", "crlf"}, {"[S]\rName=cr\rB=x\r", "S", "Name", "cr"},
        {"[S]\nA=lf\r\nName=mixed\rB=x\n", "S", "Name", "mixed"}, {"[S]\r\nName=unended", "S", "Name", "unended"},
        // a UTF-8 byte-order mark does not hide the first section
        {"\xEF\xBB\xBF[S]\r\nName=marked\r\n", "S", "Name", "marked"}};
    // clang-format on
    for (const auto& [file, section, key, expected] : cases) {
        Make(file);
        EXPECT_EQ(Read(path_, section, key), expected) << file;
    }
    EXPECT_EQ(Read(folder_.File("none.ini"), "S", "Name"), kMissing);
}

TEST_F(IniFile, GetIntTakesSignAndLeadingDigits) {
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"12abc", 12}, {"abc", 0}, {"-100", -100}, {"+7", 7}, {"  42  ", 42}, {"\"15\"", 15}, {"1.9", 1}, {"-", 0},
        {"", 99},      {"   ", 99}, {"2147483648", INT_MAX}, {"99999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN}, {"-99999999999999999999", INT_MIN}};
    // clang-format on
    for (const auto& [value, expected] : cases) {
        Make(std::string("[S]\nKey=") + value + "\n");
        EXPECT_EQ(profile::GetInt("s", "KEY", 99, path_), expected) << "value \"" << value << '"';
    }
    EXPECT_EQ(profile::GetInt("S", "Other", -5, path_), -5);
    EXPECT_EQ(profile::GetInt("S", "Key", -5, folder_.File("none.ini")), -5);
}

TEST_F(IniFile, GetStringAndSectionNamesAreCutLikeTheWindowsCalls) {
    Make("[S]\nName=abcdef\n");
    // Key, buffer size, text and count returned.
    const std::tuple<const char*, std::size_t, const char*, std::size_t> strings[] = {
        {"Name", 7, "abcdef", 6},
        {"Name", 6, "abcde", 5},
        {"Name", 1, "", 0},
        {"Nope", 5, "Look", 4},
        {"Nope", 14, "Lookabout", 9}}; // the default loses its trailing blanks, as on Windows
    for (const auto& [key, size, text, count] : strings) {
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(profile::GetString("S", key, "Lookabout  ", buffer, size, path_), count) << key << " into " << size;
        EXPECT_STREQ(buffer, text);
        EXPECT_EQ(buffer[size], 'x') << "wrote beyond the buffer";
    }

    // 29 characters of names and NULs. The Windows call needs room for the list and a closing NUL
    // plus one more: a buffer of exactly 30 counts as too small, and the result is size - 2.
    // A section without a name is none. Without a section name GetString gives the same list, and
    // without a key name the list of the section's keys, in the same form.
    Make("[ section1 ]\r\n[]\r\nImage_File=a.bmp\r\n[section2]\r\n[SECTION1]\r\n[section3]\r\n"
         "[K]\r\nkey1=1\r\n;x=2\r\nKEY2=\r\nkey1=3\r\nkey3\r\n");
    const std::string all("section1\0section2\0section3\0K\0\0", 30);
    // Section (nullptr: the section names), buffer size, count returned, contents.
    const std::tuple<const char*, std::size_t, std::size_t, std::string> lists[] = {
        {nullptr, 31, 29, all},
        {nullptr, 30, 28, all},
        {nullptr, 12, 10, std::string("section1\0s\0\0", 12)},
        {"k", 16, 10, std::string("key1\0KEY2\0\0", 11)},
        {"K", 9, 7, std::string("key1\0KE\0\0", 9)}};
    for (const auto& [section, size, count, contents] : lists) {
        const std::string what = (section ? section : "names") + std::string(" into ") + std::to_string(size);
        char buffer[100];
        std::memset(buffer, 0x0c, sizeof buffer);
        EXPECT_EQ(profile::GetString(section, nullptr, "default", buffer, size, path_), count) << what;
        EXPECT_EQ(std::string(buffer, contents.size()), contents) << what;
        if (!section) {
            EXPECT_EQ(profile::GetSectionNames(buffer, size, path_), count) << what;
        }
    }
    Make("; nothing but a comment\nKey=value\n");
    char buffer[16];
    std::memset(buffer, 0x0c, sizeof buffer);
    EXPECT_EQ(profile::GetSectionNames(buffer, sizeof buffer, path_), 0u);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(IniFile, WritesChangeOnlyTheLinesTheyMust) {
    // What, the file before, section, key, value, the file after.
    const std::tuple<const char*, const char*, const char*, const char*, const char*, const char*> cases[] = {
        {"new key goes to the end of its section, before the blank line", "[A]\nx=1\n\n[B]\ny=2\n", "a", "z", "3",
         "[A]\nx=1\nz=3\n\n[B]\ny=2\n"},
        {"new key after a last line without ending", "[A]\nx=1", "A", "z", "3", "[A]\nx=1\nz=3\n"},
        {"CR LF file, comments and spacing kept", "; settings\r\n[A]\r\n  x  =  1\r\n; note\r\n\r\n[B]\r\n\ty=2\r\n",
         "B", "z", "3", "; settings\r\n[A]\r\n  x  =  1\r\n; note\r\n\r\n[B]\r\n\ty=2\r\nz=3\r\n"},
        {"CR file", "[A]\rx=1\r", "A", "z", "3", "[A]\rx=1\rz=3\r"},
        {"delete a key", "[A]\r\nx=1\r\n  Y = 2 \r\n; y=old\r\nz=3\r\n", "A", "y", nullptr,
         "[A]\r\nx=1\r\n; y=old\r\nz=3\r\n"},
        {"delete a section with its keys", "; top\n[A]\nx=1\n\n[B]\ny=2\nw=4\n\n[C]\nz=3\n", "b", nullptr, nullptr,
         "; top\n[A]\nx=1\n\n\n[C]\nz=3\n"}, // the blank lines around it are no part of it
        {"delete what is not there", "[A]\nx=1\n", "Q", nullptr, nullptr, "[A]\nx=1\n"},
        {"the same value again", "[A]\n x = 1\n", "A", "X", "1", "[A]\n x = 1\n"},
        {"a value that reads the same", "[A]\nx = \"1\"  \n", "A", "x", "1", "[A]\nx = \"1\"  \n"},
        {"new section right after the last line", "[A]\nx=1\n", "B", "y", "2", "[A]\nx=1\n[B]\ny=2\n"},
        {"byte-order mark kept, first section found", "\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x", "2",
         "\xEF\xBB\xBF[A]\r\nx=2\r\n"}};
    for (const auto& [what, before, section, key, value, after] : cases) {
        Make(before);
        const std::size_t replacements = profile::ReplacementCount();
        EXPECT_TRUE(profile::WriteString(section, key, value, path_)) << what << ": " << profile::LastError();
        EXPECT_EQ(Bytes(), after) << what;
        EXPECT_EQ(profile::ReplacementCount() == replacements, Bytes() == before) << what << ": no change, no save";
    }
}

TEST_F(IniFile, ReplacesAValueInPlaceAndAppendsANewSectionOrFile) {
    const std::string before = "; Lookabout\r\n[General_Settings]\r\n";
    const std::string after = "\r\n\r\n[CHARACTER_1]\r\n  Speed_X  =  30\n; end\r";
    Make(before + "Program_Title = Old Title  " + after);
    ASSERT_TRUE(profile::WriteString("general_settings", "PROGRAM_TITLE", "New", path_));
    std::string bytes = Bytes();
    ASSERT_TRUE(bytes.starts_with(before) && bytes.ends_with(after)) << bytes;
    EXPECT_EQ(bytes.substr(before.size(), bytes.size() - before.size() - after.size()).find_first_of("\r\n"),
              std::string::npos);
    EXPECT_EQ(Read(path_, "General_Settings", "Program_Title"), "New");

    const std::string old = Bytes(), tail = "[B]\r\nk=v\r\n";
    ASSERT_TRUE(profile::WriteString("B", "k", "v", path_));
    bytes = Bytes();
    ASSERT_TRUE(bytes.starts_with(old) && bytes.ends_with(tail)) << bytes;
    EXPECT_EQ(bytes.substr(old.size(), bytes.size() - old.size() - tail.size()).find_first_not_of("\r\n"),
              std::string::npos); // at most line breaks between

    const std::string fresh = folder_.File("fresh.ini");
    ASSERT_TRUE(profile::WriteString("Section", "Key", "value", fresh));
    EXPECT_EQ(Read(fresh, "Section", "Key"), "value");
}

TEST_F(IniFile, RefusesWritesThatWouldChangeTheStructure) {
    const std::string original = "[A]\nk=1\n";
    // clang-format off
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"A", "k", "two\nlines"}, {"A", "k", "cr\r"}, {"A\nB", "k", "v"}, {"A", "k\n", "v"}, {"A", "k=x", "v"},
        {"A]x", "k", "v"},        {"New]", "k", "v"}, {"A", "[k", "v"},   {"A", "  ;k", "v"}};
    // clang-format on
    for (const auto& [section, key, value] : cases) {
        Make(original);
        const std::string marked = MarkLastError();
        EXPECT_FALSE(profile::WriteString(section, key, value, path_)) << section << " / " << key << " / " << value;
        EXPECT_EQ(Bytes(), original);
        EXPECT_NE(profile::LastError(), marked);
    }
    const std::string absent = folder_.File("absent.ini");
    EXPECT_FALSE(profile::WriteString("A", "k", "two\nlines", absent));
    EXPECT_FALSE(std::filesystem::exists(absent));
}

TEST_F(IniFile, AFailureBeforeTheRenameLeavesTheOldFile) {
    const std::string original = "[A]\r\nx=1\r\n; keep me\r\n";
    Make(original);
    std::vector<std::string> seen;
    std::string oldThen, newThen;
    {
        FailingRename crash([&] {
            seen = folder_.Entries();
            oldThen = Bytes();
            for (const std::string& name : seen)
                if (name != "Lookabout.ini")
                    newThen = ReadBytes(folder_.File(name));
        });
        const std::string marked = MarkLastError();
        EXPECT_FALSE(profile::WriteString("A", "x", "2", path_));
        EXPECT_NE(profile::LastError(), marked);
    }
    // At that moment the new text was complete in a second file of the same folder, the old file still whole.
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(oldThen, original);
    EXPECT_EQ(newThen, "[A]\r\nx=2\r\n; keep me\r\n");
    EXPECT_EQ(Bytes(), original);
    EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"Lookabout.ini"});
}

TEST_F(IniFile, UnwritableFileOrFolderIsRefusedWithAReason) {
    EXPECT_FALSE(profile::WriteString("A", "k", "v", folder_.File("no/such.ini")));
    EXPECT_FALSE(profile::LastError().empty());
    EXPECT_FALSE(profile::WriteString("A", "k", "v", Utf8(folder_.Path()))); // a folder, not a file
#ifdef _WIN32
    GTEST_SKIP() << "permission bits are a POSIX matter";
#else
    namespace fs = std::filesystem;
    const std::string original = "[A]\nk=1\n";
    for (const auto& [fileMode, folderMode] :
         {std::pair{fs::perms(0444), fs::perms(0777)}, std::pair{fs::perms(0666), fs::perms(0555)}}) {
        SCOPED_TRACE(fileMode == fs::perms(0444) ? "read-only file" : "read-only folder");
        fs::permissions(folder_.Path(), fs::perms::all);
        if (fs::exists(path_))
            fs::permissions(path_, fs::perms(0666));
        Make(original);
        fs::permissions(path_, fileMode);
        fs::permissions(folder_.Path(), folderMode);
        // Root passes every permission check, so the write is tried as an ordinary user in a child process.
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(2);
            const bool wrote = profile::WriteString("A", "k", "2", path_);
            ::_exit(wrote ? 1 : profile::LastError().empty() ? 3 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 2)
            GTEST_SKIP() << "cannot become an ordinary user (uid 65534) to test permissions";
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: the write went through, 3: it failed without a reason";
        EXPECT_EQ(Bytes(), original);
        fs::permissions(folder_.Path(), fs::perms::all);
        EXPECT_EQ(folder_.Entries(), std::vector<std::string>{"Lookabout.ini"});
    }
#endif
}

TEST_F(IniFile, ASessionReplacesTheFileOnceForManyWrites) {
    const std::string original = "[A]\nk=1\n";
    Make(original);
    const std::size_t before = profile::ReplacementCount();
    {
        profile::Session outer(path_);
        for (int i = 0; i < 50; ++i)
            ASSERT_TRUE(
                profile::WriteString("B", ("Key_" + std::to_string(i)).c_str(), std::to_string(i).c_str(), path_));
        EXPECT_EQ(profile::GetInt("B", "Key_49", 0, path_), 49); // reads see the session's writes
        {
            profile::Session inner(path_); // joins the outer one and writes nothing itself
            ASSERT_TRUE(profile::WriteString("C", "k", "3", path_));
            EXPECT_TRUE(inner.Commit());
        }
        EXPECT_EQ(Bytes(), original); // the disk does not, yet
        EXPECT_TRUE(outer.Commit());
    }
    EXPECT_EQ(profile::ReplacementCount(), before + 1);
    EXPECT_EQ(profile::GetInt("B", "Key_17", 0, path_), 17);
    EXPECT_EQ(profile::GetInt("C", "k", 0, path_), 3);
    const std::string written = Bytes();
    {
        profile::Session uncommitted(path_);
        profile::WriteString("A", "k", "Not committed", path_);
    }
    EXPECT_EQ(Bytes(), written);
    EXPECT_EQ(profile::ReplacementCount(), before + 1);

    profile::Session refused(path_);
    EXPECT_TRUE(profile::WriteString("A", "k", "2", path_));
    EXPECT_FALSE(profile::WriteString("A", "k=", "3", path_));
    const std::string marked = MarkLastError();
    EXPECT_FALSE(refused.Commit()) << "a refused write inside the session";
    EXPECT_NE(profile::LastError(), marked);
    EXPECT_EQ(Read(path_, "A", "k"), "2");
}

TEST_F(IniFile, ValuesThatReadingWouldChangeAreWrittenInQuotes) {
    // Blanks at an end and a pair of quotes are taken off when read; such values still come back.
    for (const char* value : {" padded ", "'quoted'", "\"\"", "tab\t", "plain 'inner' text", "\"", ""}) {
        ASSERT_TRUE(profile::WriteString("S", "k", value, path_)) << value;
        EXPECT_EQ(Read(path_, "S", "k"), value);
    }
    ASSERT_TRUE(profile::WriteString("S", "k", "plain", path_));
    EXPECT_EQ(Bytes(), "[S]" + kNewLineEnd + "k=plain" + kNewLineEnd); // a value that needs no quotes gets none
}

} // namespace
