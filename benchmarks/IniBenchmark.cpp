// Loading and saving a settings file of 100 characters: milliseconds and file replacements.
// Run: build/bin/lookabout_ini_benchmark [characters] [rounds]
#include "settings/Configuration.h"
#include "settings/PrivateProfile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F> double Milliseconds(F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 100;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 31;
    const auto dir = std::filesystem::temp_directory_path() / ("lookabout-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Lookabout.ini").string();

    std::vector<CharacterRecord> records(static_cast<std::size_t>(count));
    for (int k = 1; k <= count; ++k) {
        CharacterRecord& r = records[static_cast<std::size_t>(k - 1)];
        r.mMyIndex = k;
        r.mINISectionName = CharacterSectionName(k);
        r.mTitle = "Character " + std::to_string(k);
        r.mPicFileName = "face.bmp";
        r.mFixed = k > 1 ? k - 1 : 0;
    }
    std::vector<const CharacterRecord*> pointers;
    for (const CharacterRecord& r : records)
        pointers.push_back(&r);
    if (!SaveAllCharacters(pointers, "Lookabout", path)) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), profile::LastError().c_str());
        return 1;
    }

    std::vector<double> loads, saves;
    std::size_t replacements = 0;
    for (int round = 0; round < rounds; ++round) {
        loads.push_back(Milliseconds([&] {
            profile::Session reading(path);
            ReadGeneralSettings(path);
            const auto sections = FindCharacterSectionNames(path);
            CharacterRecord r;
            for (std::size_t i = 0; i < sections.size(); ++i) {
                r.mMyIndex = static_cast<int>(i) + 1;
                ReadCharacterRecord(path, sections[i], static_cast<int>(sections.size()), r);
            }
        }));
        for (CharacterRecord& r : records)
            r.mStartPosX = round; // a real change every round, so every save writes
        const std::size_t before = profile::ReplacementCount();
        saves.push_back(Milliseconds([&] { SaveAllCharacters(pointers, "Lookabout", path); }));
        replacements = std::max(replacements, profile::ReplacementCount() - before);
    }
    std::filesystem::remove_all(dir);
    std::printf("characters: %d, rounds: %d\n", count, rounds);
    std::printf("load: median %.2f ms\n", Median(loads));
    std::printf("save: median %.2f ms, %zu file replacement(s) per save\n", Median(saves), replacements);
    return 0;
}
