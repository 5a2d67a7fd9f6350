// What Add, Delete and Rename do to the characters and the file.
#include "panel/PanelEdits.h"

#include "settings/Configuration.h"
#include "settings/PrivateProfile.h"

#include <algorithm>

std::u32string RenamedTitle(std::u32string_view answer, bool confirmed, std::u32string_view current) {
    if (!confirmed)
        return std::u32string(current);
    std::u32string title(answer);
    for (char32_t& c : title)
        if (c == U'\r' || c == U'\n' || c == U'\0')
            c = U' ';
    const std::size_t first = title.find_first_not_of(U' ');
    if (first == std::u32string::npos)
        return {};
    const std::size_t last = title.find_last_not_of(U' ');
    return title.substr(first, std::min(last - first + 1, kMaxTitleLength));
}

bool SaveWithAddedCharacter(const std::vector<const CharacterRecord*>& records, const CharacterRecord& added,
                            const std::string& title, const std::string& path) {
    profile::Session session(path);
    const std::string section = SectionForAddedCharacter(AllSectionNames(path), static_cast<int>(records.size()));
    bool ok = WriteCharacterRecord(added, section, path);
    ok = SaveAllCharacters(records, title, path) && ok;
    return session.CommitWhole() && ok;
}

DeletePlan PlanDelete(const std::vector<const CharacterRecord*>& records, int del) {
    const int count = static_cast<int>(records.size());
    if (count < 2 || del < 1 || del > count)
        return {};
    DeletePlan plan;
    for (const CharacterRecord* r : records)
        plan.remaining.push_back(*r);
    std::vector<CharacterRecord*> renumbered;
    for (CharacterRecord& r : plan.remaining)
        renumbered.push_back(&r);
    plan.dropSections = RenumberForDelete(renumbered, del);
    plan.remaining.erase(plan.remaining.begin() + (del - 1));
    return plan;
}

bool SaveAfterDelete(const DeletePlan& plan, const std::string& title, const std::string& path) {
    if (plan.remaining.empty())
        return false;
    profile::Session session(path);
    bool ok = true;
    for (const std::string& section : plan.dropSections)
        ok = DeleteCharacterSection(section, path) && ok;
    std::vector<const CharacterRecord*> records;
    for (const CharacterRecord& r : plan.remaining)
        records.push_back(&r);
    ok = SaveAllCharacters(records, title, path) && ok;
    return session.CommitWhole() && ok;
}
