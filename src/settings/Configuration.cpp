// Loading and saving characters and the general settings.
#include "settings/Configuration.h"

#include "settings/CharacterKeys.h"
#include "settings/PrivateProfile.h"
#include "settings/TextRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <unordered_set>

namespace {

// Text values are read into a 255-character buffer, as files written on Windows expect.
constexpr std::size_t kTextBuffer = 255;

// A text cut at the buffer's end may end inside a character of several bytes; that broken tail
// would show as a replacement sign and be saved back. Cut before the character instead.
std::size_t WholeCharactersLength(std::string_view text) {
    std::size_t lead = text.size();
    while (lead > 0 && text.size() - lead < 4 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80)
        --lead;
    if (lead == 0)
        return text.size();
    const auto byte = static_cast<unsigned char>(text[lead - 1]);
    const std::size_t needs = byte >= 0xF0 && byte < 0xF8 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return byte >= 0xC0 && byte < 0xF8 && text.size() - (lead - 1) < needs ? lead - 1 : text.size();
}

std::string ReadText(const std::string& section, const char* key, const char* def, const std::string& path) {
    char buffer[kTextBuffer];
    const std::size_t length = profile::GetString(section.c_str(), key, def, buffer, sizeof buffer, path);
    std::string text(buffer); // a NUL inside a hand-edited value ends it, as it ends every C string
    if (length == kTextBuffer - 1 && text.size() == length)
        text.resize(WholeCharactersLength(text));
    return text;
}

} // namespace

GeneralSettings ReadGeneralSettings(const std::string& path) {
    GeneralSettings settings;
    settings.advancedEditing = profile::GetInt(kGeneralSection, kAdvancedEditingKey, 1, path) != 0;
    settings.programTitle =
        std::string(text_rules::Trim(ReadText(kGeneralSection, kProgramTitleKey, kDefaultProgramTitle, path)));
    return settings;
}

std::vector<std::string> AllSectionNames(const std::string& path) {
    // The list is read into a fixed buffer on Windows; grow it until every name fits, so a file
    // with hundreds of characters does not silently lose its last ones.
    std::vector<char> buffer(4096);
    std::size_t count = 0;
    for (;;) {
        count = profile::GetSectionNames(buffer.data(), buffer.size(), path);
        if (count + 2 < buffer.size() || buffer.size() > (std::size_t{1} << 30))
            break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::string> sections;
    std::unordered_set<std::string> seen; // in lower case
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (buffer[i] != '\0')
            continue;
        std::string name(buffer.data() + start, i - start);
        start = i + 1;
        // Each section once: two characters must never share one section.
        std::string lower = name;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a'); // as EqualsNoCase compares
        if (seen.insert(std::move(lower)).second)
            sections.push_back(std::move(name));
    }
    return sections;
}

std::vector<std::string> FindCharacterSectionNames(const std::string& path) {
    std::vector<std::string> characters;
    for (std::string& name : AllSectionNames(path))
        // Blank as the record reads it (quotes or a NUL can keep blanks from being removed): no picture.
        if (!text_rules::Trim(ReadText(name, kImageFileKey, "", path)).empty())
            characters.push_back(std::move(name));
    return characters;
}

int ClampColorPart(std::string_view text) {
    std::string_view piece = text_rules::Trim(text);
    if (!piece.empty() && piece.front() == '+')
        piece.remove_prefix(1);
    // from_chars reads "12.9" the same in every locale; strtod would not.
    double value = 0;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (piece.empty() || error != std::errc() || end != piece.data() + piece.size() || std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(std::floor(value), 0.0, 255.0));
}

std::int32_t ParseColor(std::string_view text) {
    int parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',');
        parts[i] = ClampColorPart(text.substr(0, comma));
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    return parts[0] + 256 * parts[1] + 65536 * parts[2];
}

std::string ColorToText(std::int32_t colour) {
    const auto c = static_cast<std::uint32_t>(colour);
    return std::to_string(c & 255) + "," + std::to_string((c >> 8) & 255) + "," + std::to_string((c >> 16) & 255);
}

void ReadCharacterRecord(const std::string& path, const std::string& section, int count, CharacterRecord& record) {
    for (const CharacterKey& key : kCharacterKeys) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(record.*member)>;
                if constexpr (std::is_same_v<T, std::string>) {
                    record.*member = std::string(text_rules::Trim(ReadText(section, key.name, key.defaultText, path)));
                } else if (key.rule == KeyRule::Colour) {
                    record.*member = static_cast<T>(ParseColor(ReadText(section, key.name, key.defaultText, path)));
                } else {
                    const int v = profile::GetInt(section.c_str(), key.name, key.defaultNumber, path);
                    switch (key.rule) {
                    case KeyRule::Speed:
                        record.*member = static_cast<T>(std::clamp(v, 5, 200));
                        break;
                    case KeyRule::Byte:
                        record.*member = static_cast<T>(std::clamp(v, 0, 255));
                        break;
                    case KeyRule::Target:
                        // -1 and values beyond the last character mean "stand still"; so do values
                        // below -1, which would otherwise name a slot that does not exist.
                        record.*member = static_cast<T>(v < 0 || v > count ? record.mMyIndex : v);
                        break;
                    default:
                        if constexpr (std::is_same_v<T, bool>)
                            record.*member = v != 0;
                        else
                            record.*member = static_cast<T>(v);
                    }
                }
            },
            key.field);
    }
}

bool WriteCharacterRecord(const CharacterRecord& record, const std::string& section, const std::string& path) {
    bool ok = true;
    for (const CharacterKey& key : kCharacterKeys) {
        const std::string text = std::visit(
            [&](auto member) -> std::string {
                using T = std::remove_cvref_t<decltype(record.*member)>;
                if constexpr (std::is_same_v<T, std::string>)
                    return record.*member;
                else if constexpr (std::is_same_v<T, bool>)
                    return record.*member ? "1" : "0";
                else
                    return key.rule == KeyRule::Colour ? ColorToText(record.*member) : std::to_string(record.*member);
            },
            key.field);
        ok = profile::WriteString(section.c_str(), key.name, text.c_str(), path) && ok;
    }
    return ok;
}

bool DeleteIniKey(const std::string& section, const std::string& key, const std::string& path) {
    return profile::WriteString(section.c_str(), key.c_str(), nullptr, path);
}

bool DeleteIniSection(const std::string& section, const std::string& path) {
    return profile::WriteString(section.c_str(), nullptr, nullptr, path);
}

bool DeleteCharacterSection(const std::string& section, const std::string& path) {
    profile::Session session(path);
    bool ok = true;
    for (const CharacterKey& key : kCharacterKeys)
        ok = DeleteIniKey(section, key.name, path) && ok;
    // A hand-edited file may hold the section twice; a copy left behind would be read again
    // as a character after the reload.
    auto exists = [&] {
        for (const std::string& name : AllSectionNames(path))
            if (text_rules::EqualsNoCase(name, section))
                return true;
        return false;
    };
    while (exists())
        ok = DeleteIniSection(section, path) && ok;
    return session.Commit() && ok;
}

std::string CharacterSectionName(int index) { return kSectionPrefix + std::to_string(index); }

CharacterRecord AddedCharacter(const CharacterRecord& current, int count, int panelRightPx, int panelTopPx) {
    CharacterRecord added = current;
    added.mStartPosX = panelRightPx;
    added.mStartPosY = panelTopPx;
    added.mFixed = count + 1;
    added.mTitle = "New " + current.mTitle;
    return added;
}

std::string SectionForAddedCharacter(const std::vector<std::string>& sectionsInFile, int count) {
    for (int k = count + 1;; ++k) {
        const std::string name = CharacterSectionName(k);
        const bool taken = std::any_of(sectionsInFile.begin(), sectionsInFile.end(),
                                       [&](const std::string& s) { return text_rules::EqualsNoCase(s, name); });
        if (!taken)
            return name;
    }
}

std::vector<std::string> RenumberForDelete(std::vector<CharacterRecord*>& records, int del) {
    const int count = static_cast<int>(records.size());
    if (count < 2 || del < 1 || del > count)
        return {};
    // A file whose character sections are CHARACTER_1..N in order keeps its sections in place and
    // loses only the last one. Any other file loses all its character sections, and the save
    // writes them anew in order, so no old section is read again as a character.
    bool standard = true;
    for (int k = 1; k <= count; ++k)
        standard = standard && text_rules::EqualsNoCase(records[k - 1]->mINISectionName, CharacterSectionName(k));
    std::vector<std::string> drop;
    if (standard) {
        drop.push_back(CharacterSectionName(count));
    } else {
        for (const CharacterRecord* r : records)
            drop.push_back(r->mINISectionName);
        // The save writes the characters into CHARACTER_1..N-1; a section of such a name that is no
        // character (it names no picture) would otherwise take one in, earlier in the file than the
        // others, and the reload would read the characters in another order.
        for (int k = 1; k < count; ++k)
            if (std::none_of(drop.begin(), drop.end(),
                             [&](const std::string& s) { return text_rules::EqualsNoCase(s, CharacterSectionName(k)); }))
                drop.push_back(CharacterSectionName(k));
    }
    int j = 0;
    for (int k = 1; k <= count; ++k) {
        CharacterRecord& r = *records[k - 1];
        if (k == del)
            continue;
        r.mINISectionName = CharacterSectionName(++j);
        if (r.mFixed == del)
            r.mFixed = 0;
        else if (r.mFixed > del)
            r.mFixed -= 1; // the character it names moves down one place; so does a self-target
    }
    records.erase(records.begin() + (del - 1));
    return drop;
}

bool SaveAllCharacters(const std::vector<const CharacterRecord*>& records, const std::string& title,
                       const std::string& path) {
    profile::Session session(path);
    bool ok = true;
    for (const CharacterRecord* r : records)
        ok = WriteCharacterRecord(*r, r->mINISectionName, path) && ok;
    ok = profile::WriteString(kGeneralSection, kProgramTitleKey, title.c_str(), path) && ok;
    return session.Commit() && ok;
}
