#include "app/frame/command_line.h"

#include <cstdlib>

std::string GetCommandLineToken(std::string_view text, int n) {
  if (n < 1) return {};
  std::size_t begin = 0;
  for (int i = 1; i < n; ++i) {
    const std::size_t blank = text.find(' ', begin);
    if (blank == std::string_view::npos) return {};
    begin = blank + 1;
  }
  const std::size_t end = text.find(' ', begin);
  return std::string(text.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin));
}

AutoPlayRequest ParseAutoPlayRequest(std::string_view commandLine) {
  AutoPlayRequest request;
  if (GetCommandLineToken(commandLine, 1) != "/AutoPlay") return request;
  const std::string number = GetCommandLineToken(commandLine, 2);
  if (number.size() < 2) return request;
  // Decimal number after the switch character, read like atoi: leading digits only.
  const long n = std::strtol(number.c_str() + 1, nullptr, 10);
  if (n < 1 || n > 32767) return request;
  request.start = 1;
  request.entry = static_cast<int>(n) - 1;
  return request;
}
