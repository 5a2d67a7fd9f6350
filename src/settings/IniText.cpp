// Line-preserving INI text with the Windows private-profile reading rules.
#include "settings/IniText.h"

#include "settings/TextRules.h"

namespace {
constexpr std::size_t npos = static_cast<std::size_t>(-1);
}

std::string IniText::Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

IniText::Line IniText::MakeLine(std::string text, std::string eol) {
    Line line{std::move(text), std::move(eol), Kind::Other, {}, {}, {}};
    const std::string_view trimmed = text_rules::Trim(line.text);
    if (trimmed.empty() || trimmed.front() == ';')
        return line;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::Section;
            line.shownName = std::string(text_rules::Trim(trimmed.substr(1, close - 1)));
            line.name = Lower(line.shownName);
        }
        return line;
    }
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return line;
    line.kind = Kind::Key;
    line.shownName = std::string(text_rules::Trim(trimmed.substr(0, eq)));
    line.name = Lower(line.shownName);
    line.value = std::string(text_rules::Trim(trimmed.substr(eq + 1)));
    return line;
}

IniText::IniText(std::string_view bytes) {
    // Some editors save a UTF-8 byte-order mark; left in, it would hide the first section's header.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    byteOrderMark_ = bytes.starts_with(kByteOrderMark);
    if (byteOrderMark_)
        bytes.remove_prefix(kByteOrderMark.size());
    blocks_.emplace_back();
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        std::string eol;
        if (end < bytes.size())
            eol = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? "\r\n"
                                                                                        : std::string(1, bytes[end]);
        Line line = MakeLine(std::string(bytes.substr(start, end - start)), std::move(eol));
        start = end + line.eol.size();
        if (line.kind == Kind::Section)
            blocks_.emplace_back();
        blocks_.back().lines.push_back(std::move(line));
    }
    Reindex();
}

void IniText::Reindex() {
    firstBlock_.clear();
    for (std::size_t b = 1; b < blocks_.size(); ++b)
        firstBlock_.emplace(blocks_[b].lines.front().name, b); // emplace keeps the first one
}

std::string IniText::Bytes() const {
    std::string out = byteOrderMark_ ? "\xEF\xBB\xBF" : "";
    for (const Block& block : blocks_)
        for (const Line& line : block.lines) {
            out += line.text;
            out += line.eol;
        }
    return out;
}

std::size_t IniText::FindSection(std::string_view section) const {
    const auto it = firstBlock_.find(Lower(text_rules::Trim(section)));
    return it == firstBlock_.end() ? npos : it->second;
}

std::size_t IniText::FindKey(const Block& block, std::string_view key) const {
    const std::string wanted = Lower(text_rules::Trim(key));
    if (wanted.empty())
        return npos;
    for (std::size_t i = 1; i < block.lines.size(); ++i)
        if (block.lines[i].kind == Kind::Key && block.lines[i].name == wanted)
            return i;
    return npos;
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
    const std::size_t b = FindSection(section);
    if (b == npos)
        return std::nullopt;
    const std::size_t at = FindKey(blocks_[b], key);
    if (at == npos)
        return std::nullopt;
    std::string_view value = blocks_[b].lines[at].value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::vector<std::string> IniText::SectionNames() const {
    std::vector<std::string> names;
    for (std::size_t b = 1; b < blocks_.size(); ++b) {
        const std::string& name = blocks_[b].lines.front().shownName;
        // A name with a NUL in it cannot be named through the C-string calls; it would read
        // as two other names.
        if (!name.empty() && name.find('\0') == std::string::npos && FindSection(name) == b)
            names.push_back(name);
    }
    return names;
}

std::vector<std::string> IniText::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    const std::size_t b = FindSection(section);
    if (b == npos)
        return names;
    const Block& block = blocks_[b];
    for (std::size_t i = 1; i < block.lines.size(); ++i) {
        const Line& line = block.lines[i];
        if (line.kind == Kind::Key && !line.name.empty() && line.name.find('\0') == std::string::npos &&
            FindKey(block, line.name) == i)
            names.push_back(line.shownName);
    }
    return names;
}

bool IniText::IsSafeToWrite(std::string_view section, std::string_view key, std::string_view value) {
    auto hasBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    const std::string_view k = text_rules::Trim(key);
    return !hasBreak(section) && !hasBreak(key) && !hasBreak(value) && section.find(']') == std::string_view::npos &&
           !k.empty() && k.find('=') == std::string_view::npos && k.front() != '[' && k.front() != ';';
}

std::string IniText::NewLineEnding() const {
    for (const Block& block : blocks_)
        for (const Line& line : block.lines)
            if (!line.eol.empty())
                return line.eol;
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

IniText::Line* IniText::LastLine() {
    for (auto b = blocks_.rbegin(); b != blocks_.rend(); ++b)
        if (!b->lines.empty())
            return &b->lines.back();
    return nullptr;
}

void IniText::EnsureLastLineEnded() {
    if (Line* last = LastLine(); last && last->eol.empty())
        last->eol = NewLineEnding();
}

std::string IniText::Stored(std::string_view value) {
    // A value with blanks at an end, or wrapped in a pair of quotes, would come back changed;
    // one more pair of quotes keeps it as it is (and files written here read the same on Windows).
    const bool blankAtEnd = !value.empty() && (value.front() == ' ' || value.front() == '\t' ||
                                               value.back() == ' ' || value.back() == '\t');
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    if (blankAtEnd || quoted)
        return "\"" + std::string(value) + "\"";
    return std::string(value);
}

bool IniText::SetValue(std::string_view section, std::string_view key, std::string_view rawValue) {
    if (!IsSafeToWrite(section, key, rawValue))
        return false;
    // Rewriting what already reads the same would only churn the file (spacing, quotes).
    if (Value(section, key) == rawValue)
        return true;
    const std::string value = Stored(rawValue);
    const std::string eol = NewLineEnding();
    const std::size_t b = FindSection(section);
    if (b == npos) {
        EnsureLastLineEnded();
        Block block;
        block.lines.push_back(MakeLine("[" + std::string(section) + "]", eol));
        block.lines.push_back(MakeLine(std::string(key) + "=" + value, eol));
        blocks_.push_back(std::move(block));
        firstBlock_.emplace(blocks_.back().lines.front().name, blocks_.size() - 1);
        return true;
    }
    Block& block = blocks_[b];
    const std::size_t at = FindKey(block, key);
    if (at != npos) {
        // Keep the key and the spacing around '=' as the user wrote them; only the value changes.
        Line& line = block.lines[at];
        std::size_t valueStart = line.text.find('=') + 1;
        while (valueStart < line.text.size() && (line.text[valueStart] == ' ' || line.text[valueStart] == '\t'))
            ++valueStart;
        line = MakeLine(line.text.substr(0, valueStart) + value, std::move(line.eol));
        return true;
    }
    // After the section's last key (or its header), so blank lines and comments in front of the
    // next section stay with that section.
    std::size_t insertAt = 1;
    for (std::size_t i = 1; i < block.lines.size(); ++i)
        if (block.lines[i].kind == Kind::Key)
            insertAt = i + 1;
    if (insertAt == block.lines.size() && b == blocks_.size() - 1)
        EnsureLastLineEnded();
    block.lines.insert(block.lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                       MakeLine(std::string(key) + "=" + value, eol));
    return true;
}

void IniText::RemoveKey(std::string_view section, std::string_view key) {
    const std::size_t b = FindSection(section);
    if (b == npos)
        return;
    const std::size_t at = FindKey(blocks_[b], key);
    if (at != npos)
        blocks_[b].lines.erase(blocks_[b].lines.begin() + static_cast<std::ptrdiff_t>(at));
}

void IniText::RemoveSection(std::string_view section) {
    const std::size_t b = FindSection(section);
    if (b == npos)
        return;
    // Blank and comment lines at the end of the block stay when another section follows:
    // they belong to what follows.
    std::vector<Line>& lines = blocks_[b].lines;
    std::size_t keepFrom = lines.size();
    if (b + 1 < blocks_.size()) {
        while (keepFrom > 1) {
            const std::string_view t = text_rules::Trim(lines[keepFrom - 1].text);
            if (!t.empty() && t.front() != ';')
                break;
            --keepFrom;
        }
    }
    std::vector<Line> kept(std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(keepFrom)),
                           std::make_move_iterator(lines.end()));
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
    auto& before = blocks_[b - 1].lines;
    before.insert(before.end(), std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end()));
    Reindex();
}
