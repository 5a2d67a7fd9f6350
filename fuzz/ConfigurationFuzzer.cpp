// Fuzzes loading a whole settings file: any bytes load without a fault, every value keeps to its
// range, and saving what was loaded and loading it again gives the same characters.
#include "Require.h"
#include "settings/CharacterKeys.h"
#include "settings/Configuration.h"
#include "settings/PrivateProfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string& Folder() {
    // Never destroyed, so the exit handler that removes the folder can still read its name.
    static const std::string* folder = [] {
        // Memory-backed where there is such a folder: every save flushes to the disk.
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        const auto dir = base / ("lookabout-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return new std::string(dir.string());
    }();
    return *folder;
}

std::vector<CharacterRecord> Load(const std::string& path, GeneralSettings& general) {
    profile::Session reading(path);
    general = ReadGeneralSettings(path);
    const std::vector<std::string> sections = FindCharacterSectionNames(path);
    std::vector<CharacterRecord> records(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        records[i].mMyIndex = static_cast<int>(i) + 1;
        records[i].mINISectionName = sections[i];
        ReadCharacterRecord(path, sections[i], static_cast<int>(sections.size()), records[i]);
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder() + "/Lookabout.ini";
    const std::string copy = Folder() + "/Again.ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    GeneralSettings general;
    const std::vector<CharacterRecord> records = Load(path, general);
    const int count = static_cast<int>(records.size());
    for (const CharacterRecord& r : records) {
        Require(r.mSpeedX >= 5 && r.mSpeedX <= 200);
        Require(r.mAlpha >= 0 && r.mAlpha <= 255);
        Require(r.mIrisWidth >= 0 && r.mIrisWidth <= 255);
        Require(r.mFixed >= 0 && r.mFixed <= count);
        Require(r.mIrisColor >= 0 && r.mIrisColor <= 0xFFFFFF && r.mPupilColor >= 0 && r.mPupilColor <= 0xFFFFFF);
        Require(!r.mPicFileName.empty() && r.mPicFileName.size() <= 254 && r.mTitle.size() <= 254);
    }

    // Save into a fresh file and load again: the same characters come back. (Saving into the
    // fuzzed file itself may meet duplicate or odd sections; a fresh file holds only ours.)
    std::filesystem::remove(copy);
    std::vector<const CharacterRecord*> pointers;
    for (const CharacterRecord& r : records)
        pointers.push_back(&r);
    if (SaveAllCharacters(pointers, general.programTitle, copy)) {
        GeneralSettings again;
        const std::vector<CharacterRecord> reloaded = Load(copy, again);
        Require(reloaded.size() == records.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            Require(reloaded[i] == records[i]);
        Require(again.programTitle == general.programTitle);
    }
    return 0;
}
