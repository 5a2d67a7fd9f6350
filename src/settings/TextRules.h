// Small text rules shared by the settings file code: blanks, ASCII case, whole numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace text_rules {

// Removes spaces and tabs at both ends.
std::string_view Trim(std::string_view s);

bool EqualsNoCase(std::string_view a, std::string_view b);

// A leading sign, then the digits up to the first non-digit: "12abc" is 12, "abc" is 0,
// "-7" is -7. Values beyond 32 bits are held at the nearest end of the range.
std::int32_t LeadingInteger(std::string_view s);

} // namespace text_rules
