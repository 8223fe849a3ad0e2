#pragma once
// Texts of the hypnogram strip and the header lines its printout starts with.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class LyrRecordInfo;

inline constexpr std::uint32_t kStrDay = 2246;
inline constexpr std::uint32_t kStrYear = 2353;
inline constexpr std::uint32_t kStrMonth = 2355;
inline constexpr std::uint32_t kStrMale = 2356;
inline constexpr std::uint32_t kStrFemale = 2357;

// The longest head of text (UTF-8) whose width stays within limit; a character, also a
// Japanese one, is never split. At least one character while text is not empty.
std::string FitText(const std::string& text, const std::function<int(const std::string&)>& width, int limit);

// The printed header of the trend window: the subject's name, a line of sex and age (the two
// parts joined by a tab; either may be empty), then the comment and the record infos, each
// broken into lines that fit the width.
std::vector<std::string> TrendPrintHeaderLines(const LyrRecordInfo& info,
                                               const std::function<int(const std::string&)>& width, int limit);
