// What the control panel's Add, Delete and Rename do to the characters and the file, without a
// window. Add and Delete change the file and save every character and the title in one replacement,
// so the file holds either all of the change or none of it.
#pragma once

#include "settings/CharacterRecord.h"

#include <string>
#include <string_view>
#include <vector>

// The longest program title a rename keeps, in characters.
inline constexpr std::size_t kMaxTitleLength = 255;

// The title a rename leaves. Confirmed: the answer without spaces at either end, cut to
// kMaxTitleLength characters; line breaks (a pasted text) become spaces first, as the file keeps the
// title on one line. An empty answer gives an empty title. Cancelled: the current title stays.
std::u32string RenamedTitle(std::u32string_view answer, bool confirmed, std::u32string_view current);

// Add: writes `added` (see AddedCharacter) into a new section at the end of the file, named
// CHARACTER_(count + 1) or, when a section of that name exists already, the next free CHARACTER_k,
// and saves `records` (characters 1..count) and the title. False when the file could not be written
// (profile::LastError() says why); the file is then as it was.
bool SaveWithAddedCharacter(const std::vector<const CharacterRecord*>& records, const CharacterRecord& added,
                            const std::string& title, const std::string& path);

// Delete: the characters that remain, renumbered as they will be after the reload, and the sections
// the file must lose. Empty when there is nothing to delete (fewer than two characters, or `del`
// not one of them). The records passed in are not changed.
struct DeletePlan {
    std::vector<CharacterRecord> remaining;
    std::vector<std::string> dropSections;
};
DeletePlan PlanDelete(const std::vector<const CharacterRecord*>& records, int del);

// Removes the plan's sections and saves the remaining characters and the title. False when the file
// could not be written; the file is then as it was.
bool SaveAfterDelete(const DeletePlan& plan, const std::string& title, const std::string& path);
