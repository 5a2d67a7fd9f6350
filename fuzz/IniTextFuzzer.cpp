// Fuzzes the line-preserving settings text: any bytes parse, read back unchanged, and a write
// changes what it must and nothing else.
#include "Require.h"
#include "settings/IniText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Splits the input: the file's text, then names and a value to write.
std::string_view Take(std::string_view& rest) {
    const std::size_t cut = rest.find('\x1f');
    std::string_view piece = rest.substr(0, cut);
    rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
    return piece;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view file = Take(rest);
    const std::string_view section = Take(rest);
    const std::string_view key = Take(rest);
    const std::string_view value = Take(rest);

    IniText text(file);
    Require(text.Bytes() == file); // reading never changes a byte
    for (const std::string& name : text.SectionNames())
        (void)text.Value(name, key);

    IniText changed(file);
    const bool written = changed.SetValue(section, key, value);
    Require(written == IniText::IsSafeToWrite(section, key, value));
    if (!written) {
        Require(changed.Bytes() == file);
        return 0;
    }
    // What was written reads back exactly.
    const auto back = changed.Value(section, key);
    Require(back.has_value() && *back == value);
    // Writing it again changes nothing; removing the key and the section leaves a text that parses.
    const std::string once = changed.Bytes();
    Require(changed.SetValue(section, key, value));
    Require(changed.Bytes() == once);
    changed.RemoveKey(section, key);
    changed.RemoveSection(section);
    IniText reparsed(changed.Bytes());
    Require(reparsed.Bytes() == changed.Bytes());
    return 0;
}
