// The ID3v1 genre numbering: names for the numbers 0 to 125 (the original
// 0-79 and Winamp's extensions 80-125), spelled as our tags have always read.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tavio {

inline constexpr int kGenreCount = 126;

// The genre's name, or nothing for numbers outside 0..125.
std::optional<std::string> GenreName(int number);

// An ID3v2 genre text with its number resolved: when the first "(" comes
// before the first ")" (or there is no "(" at all) and the text between is a
// number 0..125, the whole text becomes that genre's name ("(17)Rock" gives
// "Rock"); otherwise the text stays as it is ("17", "(RX)", "(200)").
std::string ResolveGenreText(std::string_view text);

}  // namespace tavio
