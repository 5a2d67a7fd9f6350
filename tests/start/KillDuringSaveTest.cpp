// A process killed with SIGKILL at any moment of a save leaves the settings file as it was
// before that save or as the save wrote it, byte for byte, and the file always loads.
#include "start/AtomicFile.h"
#include "start/Configuration.h"
#include "start/PrivateProfile.h"
#include "start/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

constexpr int kCharacters = 400;

// Two versions of the same 400 characters (a file of some 180 kB), differing in every section.
std::vector<CharacterRecord> Version(int which) {
    std::vector<CharacterRecord> records(kCharacters);
    for (int k = 1; k <= kCharacters; ++k) {
        CharacterRecord& r = records[static_cast<std::size_t>(k) - 1];
        r.mMyIndex = k;
        r.mINISectionName = CharacterSectionName(k);
        r.mTitle =
            (which == 0 ? "Old name of character " : "New name of character, a little longer, ") + std::to_string(k);
        r.mPicFileName = "face.bmp";
        r.mFixed = which == 0 ? k : 0;
        r.mStartPosX = which == 0 ? k : 5000 - k;
        r.mStartPosY = which * 100 + k % 700;
    }
    return records;
}

bool Save(const std::vector<CharacterRecord>& records, const std::string& path) {
    std::vector<const CharacterRecord*> pointers;
    for (const CharacterRecord& r : records)
        pointers.push_back(&r);
    return SaveAllCharacters(pointers, "Killed while saving", path);
}

} // namespace

TEST(SaveUnderKill, TheFileIsAlwaysTheOldOrTheNewOneAndLoads) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has neither fork nor SIGKILL, with which this test kills a saving child";
#else
    TestFolder folder;
    const std::string path = folder.File("Lookabout.ini");
    const std::vector<CharacterRecord> versions[2] = {Version(0), Version(1)};

    // A save changes a file in place line by line, so the two versions settle into two fixed texts.
    ASSERT_TRUE(Save(versions[0], path));
    ASSERT_TRUE(Save(versions[1], path));
    ASSERT_TRUE(Save(versions[0], path));
    std::string texts[2];
    texts[0] = ReadBytes(path);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(Save(versions[1], path));
    const auto saveTime = std::chrono::steady_clock::now() - started;
    texts[1] = ReadBytes(path);
    ASSERT_TRUE(Save(versions[0], path));
    ASSERT_EQ(ReadBytes(path), texts[0]);
    ASSERT_NE(texts[0], texts[1]);
    ASSERT_GT(texts[0].size(), 150000u);

    std::mt19937 random(20240607);
    const long long saveUs = std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count();
    // Half the kills land anywhere in two saves' time; the other half right around a rename, the one
    // moment that decides between the old and the new file. There the child waits 2 ms after its
    // temporary file is complete, so a kill falls before, during or after the rename.
    std::uniform_int_distribution<long long> anywhereUs(0, 2 * saveUs + 1000);
    std::uniform_int_distribution<long long> aroundRenameUs(0, 4000);
    // Enough kills to be sure, in a time a sanitizer build can afford.
    const int kMostKills = 150, kFewestKills = 30;
    const auto budget = std::chrono::seconds(12);
    const auto loopStarted = std::chrono::steady_clock::now();
    int kills = 0;
    int leftovers = 0; // kills between the temporary file's creation and the rename
    for (; kills < kMostKills; ++kills) {
        if (kills >= kFewestKills && std::chrono::steady_clock::now() - loopStarted > budget)
            break;
        const bool atRename = kills % 2 == 1;
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            const int signal = ready[1];
            atomic_file::SetBeforeRenameHookForTest([signal] {
                [[maybe_unused]] const auto n = ::write(signal, "r", 1);
                ::usleep(2000);
                return true;
            });
            for (;;) {
                if (!Save(versions[1], path) || !Save(versions[0], path))
                    ::_exit(3);
            }
        }
        ::close(ready[1]);
        if (atRename) {
            pollfd wait{ready[0], POLLIN, 0};
            ASSERT_EQ(::poll(&wait, 1, 30000), 1) << "the saving child never reached a rename";
            ::usleep(static_cast<useconds_t>(aroundRenameUs(random)));
        } else {
            ::usleep(static_cast<useconds_t>(anywhereUs(random)));
        }
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(ready[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself, status " << status;

        const std::string now = ReadBytes(path);
        const int which = now == texts[0] ? 0 : now == texts[1] ? 1 : -1;
        ASSERT_NE(which, -1) << "after kill " << kills << " the file is neither version (" << now.size() << " bytes)";
        // One copy of the file for the whole load, as the program loads.
        profile::Session reading(path);
        const std::vector<std::string> sections = FindCharacterSectionNames(path);
        ASSERT_EQ(sections.size(), static_cast<std::size_t>(kCharacters)) << "after kill " << kills;
        CharacterRecord last;
        last.mMyIndex = kCharacters;
        last.mINISectionName = sections.back();
        ReadCharacterRecord(path, sections.back(), kCharacters, last);
        EXPECT_EQ(last, versions[which].back()) << "after kill " << kills;

        // A kill inside a save leaves its temporary file behind, hidden next to the settings file,
        // until the next start clears it away.
        leftovers += atomic_file::RemoveLeftovers(path);
        ASSERT_EQ(folder.Entries(), std::vector<std::string>{"Lookabout.ini"}) << "after kill " << kills;
    }
    // Otherwise no kill fell between a temporary file and its rename, and the test proved little.
    EXPECT_GE(leftovers, 1) << "no kill landed inside a save";
    std::printf("%d kills, %d of them inside a save before its rename; one save of %d characters took %lld ms\n", kills,
                leftovers, kCharacters, saveUs / 1000);
#endif
}

TEST(SaveUnderKill, ClearingLeftoversTouchesNothingElse) {
    TestFolder folder;
    const std::string path = folder.File("Lookabout.ini");
    ASSERT_TRUE(Save(Version(0), path));
    // A user's backups, names close to ours, and a folder or a link named like a leftover stay.
    const std::vector<std::string> kept = {".Lookabout.ini.backup",          ".Lookabout.ini.old123",
                                           ".Lookabout.ini.save-Ab12Cd",     ".Lookabout.ini.save-Ab12C.tmp",
                                           ".Lookabout.ini.save-Ab_2Cd.tmp", ".Other.ini.save-Ab12Cd.tmp",
                                           "Lookabout.ini.save-Ab12Cd.tmp",  ".Lookabout.ini.lock"};
    for (const std::string& name : kept)
        WriteBytes(folder.File(name), "x");
    std::filesystem::create_directory(FromUtf8(folder.File(".Lookabout.ini.save-DIR123.tmp")));
    WriteBytes(folder.File(".Lookabout.ini.save-Ab12Cd.tmp"), "half a save");
    WriteBytes(folder.File(".Lookabout.ini.save-zzzzzz.tmp"), "");
    std::vector<std::string> expected = kept;
    expected.insert(expected.end(), {".Lookabout.ini.save-DIR123.tmp", "Lookabout.ini"});
#ifndef _WIN32 // Windows makes links only with a privilege, and has no user ids of files
    ASSERT_EQ(::symlink(".Lookabout.ini.backup", folder.File(".Lookabout.ini.save-LNK123.tmp").c_str()), 0);
    expected.push_back(".Lookabout.ini.save-LNK123.tmp");
    // Nor is another user's file of our shape ours; only root can make one to try.
    const std::string others = ".Lookabout.ini.save-Other1.tmp";
    if (::geteuid() == 0) {
        WriteBytes(folder.File(others), "x");
        ASSERT_EQ(::chown(folder.File(others).c_str(), 65534, 65534), 0);
        expected.push_back(others);
    }
#endif
    const std::string text = ReadBytes(path);

    EXPECT_EQ(atomic_file::RemoveLeftovers(path), 2);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.Entries(), expected);
    EXPECT_EQ(ReadBytes(path), text);
}
