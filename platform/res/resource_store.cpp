#include "platform/res/resource_store.h"

#include <algorithm>
#include <charconv>
#include <mutex>
#include <unordered_map>

namespace res {
namespace {

Language g_language = Language::English;

using StringTable = std::unordered_map<std::uint32_t, std::string>;

std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      char c = s[++i];
      out += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    } else {
      out += s[i];
    }
  }
  return out;
}

StringTable ParseTables(Language lang) {
  StringTable table;
  std::string prefix = std::string(LanguageFolder(lang)) + "/strings/";
  for (std::string_view path : FilesUnder(prefix)) {
    std::string_view text = FileText(path);
    while (!text.empty()) {
      std::size_t eol = text.find('\n');
      std::string_view line = text.substr(0, eol);
      text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.empty() || line.front() == '#') continue;
      std::size_t tab = line.find('\t');
      if (tab == std::string_view::npos) continue;
      std::uint32_t id = 0;
      auto [p, ec] = std::from_chars(line.data(), line.data() + tab, id);
      if (ec != std::errc{} || p != line.data() + tab) continue;
      table[id] = Unescape(line.substr(tab + 1));
    }
  }
  return table;
}

const StringTable& Table(Language lang) {
  static std::once_flag en_once, ja_once;
  static StringTable en, ja;
  if (lang == Language::Japanese) {
    std::call_once(ja_once, [] { ja = ParseTables(Language::Japanese); });
    return ja;
  }
  std::call_once(en_once, [] { en = ParseTables(Language::English); });
  return en;
}

}  // namespace

namespace {
void (*g_languageObserver)(Language) = nullptr;
}  // namespace

void SetLanguage(Language lang) {
  g_language = lang;
  if (g_languageObserver) g_languageObserver(lang);
}

void SetLanguageObserver(void (*observer)(Language)) { g_languageObserver = observer; }
Language CurrentLanguage() { return g_language; }
std::string_view LanguageFolder(Language lang) { return lang == Language::Japanese ? "ja" : "en"; }

std::string_view FileText(std::string_view path) {
  for (std::size_t i = 0; i < kEmbeddedFileCount; ++i)
    if (path == kEmbeddedFiles[i].path) return kEmbeddedFiles[i].text;
  return {};
}

std::vector<std::string_view> FilesUnder(std::string_view prefix) {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < kEmbeddedFileCount; ++i) {
    std::string_view p = kEmbeddedFiles[i].path;
    if (p.substr(0, prefix.size()) == prefix) out.push_back(p);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string LoadString(std::uint32_t id) { return LoadString(id, g_language); }

std::string LoadString(std::uint32_t id, Language lang) {
  const StringTable& t = Table(lang);
  auto it = t.find(id);
  return it == t.end() ? std::string{} : it->second;
}

bool HasString(std::uint32_t id, Language lang) { return Table(lang).count(id) != 0; }

}  // namespace res
