// Loading and saving characters and the general settings through the private-profile layer.
#pragma once

#include "settings/CharacterRecord.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct GeneralSettings {
    bool advancedEditing = true;
    std::string programTitle;
};

GeneralSettings ReadGeneralSettings(const std::string& path);

// Every section name of the file, in file order, each once.
std::vector<std::string> AllSectionNames(const std::string& path);

// The names of the sections whose "Image_File" is not empty, in file order. Every section of the
// file is considered, however long the list of names grows.
std::vector<std::string> FindCharacterSectionNames(const std::string& path);

// Fills `record` from `section` by the key table. `count` is N, the number of characters, for the
// "Fixed_To" rule; `record.mMyIndex` must already be set.
void ReadCharacterRecord(const std::string& path, const std::string& section, int count, CharacterRecord& record);

// Writes the 25 keys of the table, in table order, into `section`. False when a write failed.
bool WriteCharacterRecord(const CharacterRecord& record, const std::string& section, const std::string& path);

bool DeleteIniKey(const std::string& section, const std::string& key, const std::string& path);
bool DeleteIniSection(const std::string& section, const std::string& path);
// Removes each key of the table, then the section itself.
bool DeleteCharacterSection(const std::string& section, const std::string& path);

// One piece of a colour text: a number with blanks around it and a fractional part allowed,
// rounded down and held to 0..255. A piece that is not a number is 0.
int ClampColorPart(std::string_view text);
// "R,G,B" to R + 256 G + 65536 B; pieces beyond the third are ignored, missing pieces are 0.
std::int32_t ParseColor(std::string_view text);
std::string ColorToText(std::int32_t colour);

std::string CharacterSectionName(int index); // "CHARACTER_" + index

// --- Adding and deleting characters, on the records and the file ---------------------------

// The record that Add writes for a copy of `current`: placed right of the control panel
// (pixels), standing still as the new last character, named "New " + the old name.
CharacterRecord AddedCharacter(const CharacterRecord& current, int count, int panelRightPx, int panelTopPx);

// The section Add writes into: CHARACTER_(N+1), or, when a section of that name already exists
// (a hand-named file), the next free CHARACTER_k after it, so nothing is overwritten.
std::string SectionForAddedCharacter(const std::vector<std::string>& sectionsInFile, int count);

// Deleting character `del` from `records` (records[k - 1] is character k): the rest get the
// sections CHARACTER_1..N-1 in order, targets of `del` turn to the pointer, and targets above
// `del` move down with the characters they name. Removes the deleted character from `records`.
// Returns the sections the file must lose before the remaining characters are saved.
std::vector<std::string> RenumberForDelete(std::vector<CharacterRecord*>& records, int del);

// Writes every record into its own section and the title into the general settings, in one
// replacement of the file. False, with profile::LastError() saying why, when it failed.
bool SaveAllCharacters(const std::vector<const CharacterRecord*>& records, const std::string& title,
                       const std::string& path);
