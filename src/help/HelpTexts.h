// The two help texts: 0 the general help, 1 the advanced help (the character editor). Each is
// stored as lines joined by CR LF, the last line empty.
#pragma once

#include <string>
#include <vector>

inline constexpr int GeneralHelpText = 0;
inline constexpr int AdvancedHelpText = 1;

// The lines of text ID; any ID but the advanced one gives the general help.
const std::vector<std::string>& HelpTextLines(int ID);

// Text ID as stored: its lines joined by CR LF.
std::string HelpText(int ID);
