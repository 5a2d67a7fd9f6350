// The text of an INI file, held line by line so that a change touches only the lines it must.
// Reading follows the rules of the Windows private-profile calls, so files written and
// hand-edited on Windows read the same here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class IniText {
public:
    explicit IniText(std::string_view bytes = {});

    // The file's bytes; lines that were never changed come back exactly as they were read.
    std::string Bytes() const;

    // The value of the first matching key of the first matching section: blanks around it removed,
    // one pair of matching quotes removed. Names match without regard to ASCII case.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Each section name once, in file order, as first written; an empty name ("[]") is never listed.
    std::vector<std::string> SectionNames() const;
    // The key names of the first matching section, each once, in file order, as first written.
    std::vector<std::string> KeyNames(std::string_view section) const;

    // Leaves the text as it is when the key already reads as `value`; otherwise replaces the value
    // in place, or appends the key at the end of its section, or appends the section right after
    // the last line. A value that reading would change (blanks at an end, a pair
    // of quotes around it) is written in quotes, so it reads back as it was. Returns false, changing nothing, when a name or the value
    // would change the file's structure (see IsSafeToWrite).
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    void RemoveKey(std::string_view section, std::string_view key);
    void RemoveSection(std::string_view section);

    // False for a line break anywhere, an empty key, '=' in a key, ']' in a section name,
    // or a key that starts with '[' or ';'.
    static bool IsSafeToWrite(std::string_view section, std::string_view key, std::string_view value);

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string text;
        std::string eol;    // "\n", "\r\n", "\r", or "" for a last line without an ending
        Kind kind = Kind::Other;
        std::string name;   // section or key name, trimmed, in lower case for matching
        std::string value;  // raw value, trimmed (keys only)
        std::string shownName; // the section or key name as written, trimmed
    };
    // The lines before the first section, then one block per section header with its lines.
    struct Block {
        std::vector<Line> lines;
    };

    static Line MakeLine(std::string text, std::string eol);
    static std::string Stored(std::string_view value);
    static std::string Lower(std::string_view s);

    // The first block of that section, or npos.
    std::size_t FindSection(std::string_view section) const;
    std::size_t FindKey(const Block& block, std::string_view key) const;
    void Reindex();
    std::string NewLineEnding() const;
    void EnsureLastLineEnded();
    Line* LastLine();

    bool byteOrderMark_ = false; // kept in front of the text, and no part of the first line
    std::vector<Block> blocks_;
    std::unordered_map<std::string, std::size_t> firstBlock_; // lower-case section name -> block
};
