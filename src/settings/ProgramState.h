// The program-wide state every window shares: the character windows, their sections, the path of
// the settings file, the title, the flags and the screen's twips factors. Plain data on the one
// user-interface thread, so no locking.
#pragma once

#include "settings/CharacterRecord.h"
#include "settings/clsGlobal.h"

#include <string>
#include <vector>

// A window position and size in twips (1/1440 inch), screen coordinates.
struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
};

// What the rest of the program needs of a character window. The record's fields are public
// members of the window, as the windows read and change them directly.
class CharacterWindowBase : public CharacterRecord {
public:
    virtual ~CharacterWindowBase() = default;

    // Loads the picture, sizes and shapes the window and places it at its start position.
    virtual void MakeWindowRegion() = 0;
    // Recomputes the follow divisors after mSpeedX or mSpeedY changed.
    virtual void SetCuriouSpeed() = 0;
    // Applies mAlpha and mNoClick where the window system has layered windows.
    virtual void SetWindowStyle() = 0;
    // Restores the bare picture and paints both irises at once.
    virtual void RefreshImage() = 0;

    // Closes the window. It may be inside one of its own event handlers (a key that ends the
    // program), so it is destroyed once that event is handled; it never ticks again.
    virtual void Unload() = 0;

    virtual TwipsRect GeometryTwips() const = 0;
    virtual bool IsShown() const = 0;
    virtual bool IsMinimised() const = 0;
};

// Slot k (1..N) holds character k; slot 0 is always empty.
extern std::vector<CharacterWindowBase*> CharacterWindows;
// The character sections in file order; entry i belongs to character i + 1.
extern std::vector<std::string> CharacterSections;
extern std::string IniFilePath;
// The folder of the executable, where the settings file and the pictures live, in UTF-8. The
// start-up fills it before it creates any window.
extern std::string ProgramFolder;
extern std::string ProgramTitle;
extern bool AdvancedEditing;
// True when the window system has layered windows: whole-window alpha and click-through.
// On Windows, version 5 (2000) or later; on X11, a running compositing manager.
extern bool IsWin2000OrLater;
extern float TwipsPerPixelX;
extern float TwipsPerPixelY;

// N, the number of characters: the highest slot of CharacterWindows.
int CharacterCount();

// The one change hub, created on first use.
clsGlobal& GetGlobal();

// The file routines under the names the windows use; they work on IniFilePath and the globals.
bool FindCharacterSections();         // fills CharacterSections; true when there is a character
void ReadCharacterSection(int i);     // section CharacterSections[i] into CharacterWindows[i + 1]
bool WriteCharacterSection(int i, const std::string& section);
bool DeleteCharacterSection(const std::string& section);
