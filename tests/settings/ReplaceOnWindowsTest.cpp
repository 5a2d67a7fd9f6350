// What replacing the settings file must keep and bear on Windows: the old file's attributes, and a
// scanner that holds the file for a moment.
#include "settings/PrivateProfile.h"
#include "settings/TestFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <regex>
#include <thread>

namespace {

std::wstring Wide(const std::string& path) {
    return FromUtf8(path).wstring();
}

TEST(ReplaceOnWindows, KeepsTheAttributesAndWaitsForAScannerToLetGoForHalfASecond) {
    using namespace std::chrono;
    for (const auto [heldMs, saves] : {std::pair{150, true}, std::pair{2000, false}}) {
        SCOPED_TRACE(heldMs);
        TestFolder folder;
        const std::string path = folder.File("Lookabout.ini");
        WriteBytes(path, "[A]\r\nk=1\r\n");
        ASSERT_TRUE(SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN));
        // A scanner reads the file and lets nobody write, rename or delete it meanwhile.
        HANDLE held =
            CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::thread scanner([&] {
            std::this_thread::sleep_for(milliseconds(heldMs));
            CloseHandle(held);
        });
        const auto started = steady_clock::now();
        const bool saved = profile::WriteString("A", "k", "2", path);
        const auto took = steady_clock::now() - started;
        scanner.join();
        EXPECT_EQ(saved, saves);
        EXPECT_EQ(profile::GetInt("A", "k", 0, path), saves ? 2 : 1);
        EXPECT_TRUE(GetFileAttributesW(Wide(path).c_str()) & FILE_ATTRIBUTE_HIDDEN);
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"Lookabout.ini"});
        if (!saves) {
            EXPECT_LT(took, seconds(1));
            // The system's words beside the number.
            EXPECT_TRUE(std::regex_match(profile::LastError(), std::regex(".*: .*[a-z]{3}.* \\(error [0-9]+\\)")))
                << profile::LastError();
        }
    }
}

} // namespace
