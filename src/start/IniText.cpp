// Line-preserving INI text with the Windows private-profile reading rules.
#include "start/IniText.h"

#include "start/TextRules.h"

namespace {
constexpr std::size_t npos = static_cast<std::size_t>(-1);
}

IniText::IniText(std::string_view bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = start;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        Line line{std::string(bytes.substr(start, end - start)), {}};
        if (end < bytes.size()) {
            if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n')
                line.eol = "\r\n";
            else
                line.eol = std::string(1, bytes[end]);
        }
        start = end + line.eol.size();
        lines_.push_back(std::move(line));
    }
}

std::string IniText::Bytes() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

IniText::Parsed IniText::Parse(const std::string& text) {
    const std::string_view trimmed = text_rules::Trim(text);
    Parsed parsed;
    if (trimmed.empty() || trimmed.front() == ';')
        return parsed;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.find(']');
        if (close != std::string_view::npos) {
            parsed.kind = Kind::Section;
            parsed.name = text_rules::Trim(trimmed.substr(1, close - 1));
        }
        return parsed;
    }
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return parsed;
    parsed.kind = Kind::Key;
    parsed.name = text_rules::Trim(trimmed.substr(0, eq));
    parsed.value = text_rules::Trim(trimmed.substr(eq + 1));
    return parsed;
}

std::size_t IniText::FindSection(std::string_view section) const {
    const std::string_view wanted = text_rules::Trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Parsed p = Parse(lines_[i].text);
        if (p.kind == Kind::Section && text_rules::EqualsNoCase(p.name, wanted))
            return i;
    }
    return npos;
}

std::size_t IniText::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && Parse(lines_[i].text).kind != Kind::Section)
        ++i;
    return i;
}

std::size_t IniText::FindKey(std::size_t header, std::string_view key) const {
    const std::string_view wanted = text_rules::Trim(key);
    if (wanted.empty())
        return npos;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const Parsed p = Parse(lines_[i].text);
        if (p.kind == Kind::Key && text_rules::EqualsNoCase(p.name, wanted))
            return i;
    }
    return npos;
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
    const std::size_t header = FindSection(section);
    if (header == npos)
        return std::nullopt;
    const std::size_t at = FindKey(header, key);
    if (at == npos)
        return std::nullopt;
    std::string_view value = Parse(lines_[at].text).value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::vector<std::string> IniText::SectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        const Parsed p = Parse(line.text);
        if (p.kind != Kind::Section)
            continue;
        bool seen = false;
        for (const std::string& name : names)
            seen = seen || text_rules::EqualsNoCase(name, p.name);
        if (!seen)
            names.emplace_back(p.name);
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
    for (const Line& line : lines_)
        if (!line.eol.empty())
            return line.eol;
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

void IniText::EnsureLastLineEnded() {
    if (!lines_.empty() && lines_.back().eol.empty())
        lines_.back().eol = NewLineEnding();
}

bool IniText::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsSafeToWrite(section, key, value))
        return false;
    const std::string eol = NewLineEnding();
    const std::size_t header = FindSection(section);
    if (header == npos) {
        EnsureLastLineEnded();
        if (!lines_.empty() && !text_rules::Trim(lines_.back().text).empty())
            lines_.push_back({"", eol});
        lines_.push_back({"[" + std::string(section) + "]", eol});
        lines_.push_back({std::string(key) + "=" + std::string(value), eol});
        return true;
    }
    const std::size_t at = FindKey(header, key);
    if (at != npos) {
        // Keep the key and the spacing around '=' as the user wrote them; only the value changes.
        std::string& text = lines_[at].text;
        std::size_t valueStart = text.find('=') + 1;
        while (valueStart < text.size() && (text[valueStart] == ' ' || text[valueStart] == '\t'))
            ++valueStart;
        text = text.substr(0, valueStart) + std::string(value);
        return true;
    }
    // After the section's last non-blank line, so blank lines that separate sections stay between them.
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < SectionEnd(header); ++i)
        if (!text_rules::Trim(lines_[i].text).empty())
            insertAt = i + 1;
    if (insertAt == lines_.size())
        EnsureLastLineEnded();
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt),
                  Line{std::string(key) + "=" + std::string(value), eol});
    return true;
}

void IniText::RemoveKey(std::string_view section, std::string_view key) {
    const std::size_t header = FindSection(section);
    if (header == npos)
        return;
    const std::size_t at = FindKey(header, key);
    if (at != npos)
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
}

void IniText::RemoveSection(std::string_view section) {
    const std::size_t header = FindSection(section);
    if (header == npos)
        return;
    // Blank and comment lines right before the next header stay: they belong to what follows.
    std::size_t end = SectionEnd(header);
    if (end < lines_.size()) {
        while (end > header + 1) {
            const std::string_view t = text_rules::Trim(lines_[end - 1].text);
            if (!t.empty() && t.front() != ';')
                break;
            --end;
        }
    }
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header), lines_.begin() + static_cast<std::ptrdiff_t>(end));
}
