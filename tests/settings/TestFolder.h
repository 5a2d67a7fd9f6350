// A fresh folder under the system's temporary folder for one test, removed with everything in it,
// and whole-file helpers for the settings-file tests. Paths are UTF-8 strings, as in the program.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

inline std::filesystem::path FromUtf8(const std::string& path) {
    return std::u8string(path.begin(), path.end());
}
inline std::string Utf8(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return {utf8.begin(), utf8.end()};
}

// The line end of a file this program creates.
#ifdef _WIN32
inline const std::string kNewLineEnd = "\r\n";
#else
inline const std::string kNewLineEnd = "\n";
#endif

class TestFolder {
public:
    TestFolder() {
        std::random_device random;
        // Letters beyond ASCII in the name, as in a user's folder C:\Users\Zoë\Spiele\Überraschung: every
        // file test then shows that such a folder starts, saves and reads back on Windows too.
        path_ =
            std::filesystem::temp_directory_path() /
            FromUtf8("lookabout-test-Zoë-Überraschung-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::all, ec); // a test may have made it read-only
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return Utf8(path_ / FromUtf8(name)); }

    // The names of everything in the folder, sorted; a leftover temporary file shows up here.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(Utf8(entry.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(FromUtf8(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(FromUtf8(path), std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}
