// Fuzzes the line-preserving settings text: any bytes parse, read back unchanged, and a write
// changes what it must and nothing else.
#include "Require.h"
#include "settings/IniText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input holds the file's text, then a section, a key and a value to write, split by 0x1f.
    std::string_view rest(reinterpret_cast<const char*>(data), size), parts[4];
    for (std::string_view& part : parts) {
        const std::size_t cut = rest.find('\x1f');
        part = rest.substr(0, cut);
        rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
    }
    const auto [file, section, key, value] = parts;

    IniText text(file);
    Require(text.Bytes() == file); // reading never changes a byte
    for (const std::string& name : text.SectionNames())
        (void)text.Value(name, key);
    const bool written = text.SetValue(section, key, value);
    Require(written == IniText::IsSafeToWrite(section, key, value));
    Require(written || text.Bytes() == file); // a refused write changes nothing
    if (!written)
        return 0;
    // What was written reads back exactly.
    const auto back = text.Value(section, key);
    Require(back.has_value() && *back == value);
    // Writing it again changes nothing; removing the key and the section leaves a text that parses.
    const std::string once = text.Bytes();
    Require(text.SetValue(section, key, value) && text.Bytes() == once);
    text.RemoveKey(section, key);
    text.RemoveSection(section);
    Require(IniText(text.Bytes()).Bytes() == text.Bytes());
    return 0;
}
