// Fuzzes loading a whole settings file: any bytes load without a fault, every value keeps to its
// range, and saving what was loaded and loading it again gives the same characters.
#include "Require.h"
#include "settings/CharacterKeys.h"
#include "settings/Configuration.h"
#include "settings/PrivateProfile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A folder of this process, memory-backed where there is one: every save flushes to the disk.
struct Folder {
    const fs::path path = (fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
                          ("lookabout-fuzz-" + std::to_string(::getpid()));
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
} gFolder;

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
    const std::string path = (gFolder.path / "Lookabout.ini").string(), copy = (gFolder.path / "Again.ini").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    GeneralSettings general, again;
    const std::vector<CharacterRecord> records = Load(path, general);
    std::vector<const CharacterRecord*> pointers;
    for (const CharacterRecord& r : records) {
        Require(r.mSpeedX >= 5 && r.mSpeedX <= 200 && r.mAlpha >= 0 && r.mAlpha <= 255);
        Require(r.mIrisWidth >= 0 && r.mIrisWidth <= 255 && r.mFixed >= 0 &&
                r.mFixed <= static_cast<int>(records.size()));
        Require(r.mIrisColor >= 0 && r.mIrisColor <= 0xFFFFFF && r.mPupilColor >= 0 && r.mPupilColor <= 0xFFFFFF);
        Require(!r.mPicFileName.empty() && r.mPicFileName.size() <= 254 && r.mTitle.size() <= 254);
        pointers.push_back(&r);
    }
    // Saved into a fresh file (the fuzzed one may hold duplicate or odd sections) and loaded again: the
    // same characters come back.
    fs::remove(copy);
    if (SaveAllCharacters(pointers, general.programTitle, copy))
        Require(Load(copy, again) == records && again.programTitle == general.programTitle);
    return 0;
}
