// The string tables are many files per language: an id given twice would let one text
// silently replace another, and an id missing from one language would show an empty text.
#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <set>
#include <string>

#include "platform/res/resource_store.h"

namespace {

// Every id of a language's tables with the files that give it.
std::map<std::uint32_t, std::set<std::string>> IdsOf(res::Language lang) {
  std::map<std::uint32_t, std::set<std::string>> ids;
  for (std::string_view path : res::FilesUnder(std::string(res::LanguageFolder(lang)) + "/strings/")) {
    std::string_view text = res::FileText(path);
    int copies = 0;
    while (!text.empty()) {
      const std::size_t eol = text.find('\n');
      const std::string_view line = text.substr(0, eol);
      text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
      const std::size_t tab = line.find('\t');
      if (line.empty() || line.front() == '#' || tab == std::string_view::npos) continue;
      std::uint32_t id = 0;
      const auto [p, ec] = std::from_chars(line.data(), line.data() + tab, id);
      if (ec != std::errc{} || p != line.data() + tab) continue;
      auto& files = ids[id];
      // The same id twice in one file counts too.
      files.insert(files.count(std::string(path)) ? std::string(path) + "#" + std::to_string(++copies)
                                                   : std::string(path));
    }
  }
  return ids;
}

TEST(StringTableIds, EachIdOnceAndInBothLanguages) {
  const auto en = IdsOf(res::Language::English);
  const auto ja = IdsOf(res::Language::Japanese);
  ASSERT_FALSE(en.empty());
  for (const auto* table : {&en, &ja})
    for (const auto& [id, files] : *table) {
      if (files.size() == 1) continue;
      std::string where;
      for (const auto& f : files) where += " " + f;
      ADD_FAILURE() << "string " << id << " is given more than once:" << where;
    }
  for (const auto& [id, files] : en) EXPECT_TRUE(ja.count(id)) << "string " << id << " has no Japanese text";
  for (const auto& [id, files] : ja) EXPECT_TRUE(en.count(id)) << "string " << id << " has no English text";
}

}  // namespace
