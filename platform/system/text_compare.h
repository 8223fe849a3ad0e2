#pragma once
// Case-insensitive comparison of names as the system compares them (section, key, file
// and registry names): letters compare without regard to case, other characters exactly.
#include <string>
#include <string_view>

namespace sys {

// UTF-8 text with its letters in lower case (ASCII, Latin-1 and full-width Latin letters).
std::string FoldCase(std::string_view utf8);
bool EqualNoCase(std::string_view a, std::string_view b);

// Whether a file name matches a pattern of '*' (any run, also empty) and '?' (exactly one
// character), without regard to case. "*.*" matches every name, also one without a dot.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace sys
