// The program-wide state.
#include "settings/ProgramState.h"

#include "settings/Configuration.h"

std::vector<CharacterWindowBase*> CharacterWindows{nullptr};
std::vector<std::string> CharacterSections;
std::string IniFilePath;
std::string ProgramFolder;
std::string ProgramTitle;
bool AdvancedEditing = false;
bool IsWin2000OrLater = false;
float TwipsPerPixelX = 15.0f;
float TwipsPerPixelY = 15.0f;

int CharacterCount() { return static_cast<int>(CharacterWindows.size()) - 1; }

clsGlobal& GetGlobal() {
    static clsGlobal hub;
    return hub;
}

bool FindCharacterSections() {
    CharacterSections = FindCharacterSectionNames(IniFilePath);
    return !CharacterSections.empty();
}

void ReadCharacterSection(int i) {
    CharacterWindowBase* window = CharacterWindows.at(static_cast<std::size_t>(i) + 1);
    ReadCharacterRecord(IniFilePath, CharacterSections.at(static_cast<std::size_t>(i)), CharacterCount(), *window);
}

bool WriteCharacterSection(int i, const std::string& section) {
    return WriteCharacterRecord(*CharacterWindows.at(static_cast<std::size_t>(i)), section, IniFilePath);
}

bool DeleteCharacterSection(const std::string& section) { return DeleteCharacterSection(section, IniFilePath); }
