#include "app/trend/lyr_trend_hypno_print.h"

#include <cstdio>

#include "app/document/ch_info.h"
#include "platform/res/resource_store.h"

namespace {

// Bytes of the UTF-8 character that starts with lead.
std::size_t CharBytes(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

void AddWrapped(std::vector<std::string>& out, std::string text,
                const std::function<int(const std::string&)>& width, int limit) {
  while (!text.empty()) {
    std::string head = FitText(text, width, limit);
    out.push_back(head);
    text.erase(0, head.size());
  }
}

}  // namespace

std::string FitText(const std::string& text, const std::function<int(const std::string&)>& width, int limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = std::min(text.size(), end + CharBytes(static_cast<unsigned char>(text[end])));
    if (end > 0 && width(text.substr(0, next)) > limit) break;
    end = next;
  }
  return text.substr(0, end);
}

std::vector<std::string> TrendPrintHeaderLines(const LyrRecordInfo& info,
                                               const std::function<int(const std::string&)>& width, int limit) {
  std::vector<std::string> lines;
  if (!info.subjectName.empty()) lines.push_back(info.subjectName);
  const bool sexShown = static_cast<std::uint16_t>(info.gender) != 65535;
  const std::string sex = sexShown ? res::LoadString(info.gender == 0 ? kStrMale : kStrFemale) : std::string();
  std::string age;
  if (info.ageYears != 0 || info.ageMonths != 0) {
    char text[128];
    std::snprintf(text, sizeof text, "%ld%s %ld%s", static_cast<long>(info.ageYears), res::LoadString(kStrYear).c_str(),
                  static_cast<long>(info.ageMonths), res::LoadString(kStrMonth).c_str());
    age = text;
  }
  if (!sex.empty() || !age.empty()) lines.push_back(sex + "\t" + age);
  AddWrapped(lines, info.memo, width, limit);
  for (const auto& item : info.freeComments) {
    std::string text = item.label.empty() ? item.text : item.label + " " + item.text;
    if (!text.empty()) AddWrapped(lines, text, width, limit);
  }
  return lines;
}
