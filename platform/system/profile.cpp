#include "platform/system/profile.h"

#include <cstdint>
#include <mutex>

#include "platform/system/file_io.h"
#include "platform/system/locale.h"
#include "platform/system/text_compare.h"

namespace sys {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

struct Line {
  enum Kind { Other, Section, Entry };
  std::string raw;  // bytes as stored, without the line break
  Kind kind = Other;
  std::string name;   // section or key name, UTF-8
  std::string value;  // entry value, UTF-8, trimmed and unquoted
};

// An ini file held as its lines, so that untouched lines are written back byte for byte.
class IniFile {
 public:
  IniFile(const std::string& path, std::optional<CodePage> cp) : path_(path) {
    cp_ = cp.value_or(AnsiCodePage());
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return;
    exists_ = true;
    std::string_view s = *bytes;
    if (s.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
      bom_ = true;
      cp_ = CodePage::Utf8;
      s.remove_prefix(kUtf8Bom.size());
    }
    if (s.find("\r\n") == std::string_view::npos && s.find('\n') != std::string_view::npos) eol_ = "\n";
    while (!s.empty()) {
      const std::size_t nl = s.find('\n');
      std::string_view raw = s.substr(0, nl);
      if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
      lines_.push_back(Parse(std::string(raw)));
      if (nl == std::string_view::npos) {
        finalEol_ = false;
        break;
      }
      s.remove_prefix(nl + 1);
    }
  }

  bool Exists() const { return exists_; }
  std::vector<Line>& Lines() { return lines_; }

  // Index of the first header of the section, or npos.
  std::size_t FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
      if (lines_[i].kind == Line::Section && EqualNoCase(lines_[i].name, section)) return i;
    return npos;
  }
  // End of the section whose header is at `header`: the index of the next header or the size.
  std::size_t SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Section) ++i;
    return i;
  }
  std::size_t FindKey(std::size_t header, std::string_view key) const {
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
      if (lines_[i].kind == Line::Entry && EqualNoCase(lines_[i].name, key)) return i;
    return npos;
  }

  Line Make(const std::string& utf8) const { return Parse(Encode(utf8)); }

  bool Save() const {
    std::string out;
    if (bom_) out.append(kUtf8Bom);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      out += lines_[i].raw;
      if (i + 1 < lines_.size() || finalEol_) out += eol_;
    }
    return WriteFileAtomic(path_, out);
  }

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

 private:
  std::string Encode(const std::string& utf8) const { return FromUtf8(utf8, cp_); }

  Line Parse(std::string raw) const {
    Line line;
    const std::string text = ToUtf8(raw, cp_);
    line.raw = std::move(raw);
    const std::string_view t = Trim(text);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
      std::string_view name = t.substr(1);
      const std::size_t close = name.find(']');
      if (close != std::string_view::npos) name = name.substr(0, close);
      line.kind = Line::Section;
      line.name = std::string(Trim(name));
      return line;
    }
    line.kind = Line::Entry;
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
      line.name = std::string(t);
    } else {
      line.name = std::string(Trim(t.substr(0, eq)));
      line.value = std::string(Unquote(Trim(t.substr(eq + 1))));
    }
    return line;
  }

  std::string path_;
  CodePage cp_ = CodePage::Cp1252;
  bool exists_ = false;
  bool bom_ = false;
  bool finalEol_ = true;
  std::string eol_ = "\r\n";
  std::vector<Line> lines_;
};

// Writes are read-modify-write of the whole file; one at a time, so that two threads
// setting different keys of one file do not lose either change.
std::mutex gWriteMutex;

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::string& file, std::optional<CodePage> cp) {
  IniFile ini(file, cp);
  const std::size_t header = ini.FindSection(section);
  if (header != IniFile::npos) {
    const std::size_t k = ini.FindKey(header, key);
    if (k != IniFile::npos) return ini.Lines()[k].value;
  }
  return std::string(TrimRight(defaultValue));
}

int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue, const std::string& file,
                         std::optional<CodePage> cp) {
  IniFile ini(file, cp);
  const std::size_t header = ini.FindSection(section);
  if (header == IniFile::npos) return defaultValue;
  const std::size_t k = ini.FindKey(header, key);
  if (k == IniFile::npos) return defaultValue;
  std::string_view v = ini.Lines()[k].value;
  if (v.empty()) return defaultValue;
  while (!v.empty() && IsBlank(v.front())) v.remove_prefix(1);
  bool negative = false;
  if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
    negative = v.front() == '-';
    v.remove_prefix(1);
  }
  std::uint32_t n = 0;
  for (const char c : v) {
    if (c < '0' || c > '9') break;
    n = n * 10u + static_cast<std::uint32_t>(c - '0');
  }
  if (negative) n = 0u - n;
  return static_cast<int>(n);
}

std::vector<std::string> GetPrivateProfileSectionNames(const std::string& file, std::optional<CodePage> cp) {
  IniFile ini(file, cp);
  std::vector<std::string> names;
  for (const Line& l : ini.Lines())
    if (l.kind == Line::Section) names.push_back(l.name);
  return names;
}

std::vector<std::string> GetPrivateProfileKeys(std::string_view section, const std::string& file,
                                               std::optional<CodePage> cp) {
  IniFile ini(file, cp);
  std::vector<std::string> names;
  const std::size_t header = ini.FindSection(section);
  if (header == IniFile::npos) return names;
  const std::size_t end = ini.SectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i)
    if (ini.Lines()[i].kind == Line::Entry) names.push_back(ini.Lines()[i].name);
  return names;
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& file, std::optional<CodePage> cp) {
  const std::string_view sec = Trim(section);
  const std::string_view k = Trim(key);
  if (sec.empty() || k.empty() || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
      key.find('=') != std::string_view::npos || k.front() == '[' || k.front() == ';' ||
      section.find(']') != std::string_view::npos) {
    SetLastFileError(FileError{FileErrorCause::generic, 0, file});
    return false;
  }
  std::lock_guard lock(gWriteMutex);
  IniFile ini(file, cp);
  if (!ini.Exists() && LastFileError().cause != FileErrorCause::fileNotFound) return false;
  auto& lines = ini.Lines();
  const std::size_t header = ini.FindSection(sec);
  if (header == IniFile::npos) {
    lines.push_back(ini.Make("[" + std::string(sec) + "]"));
    lines.push_back(ini.Make(std::string(k) + "=" + std::string(value)));
    return ini.Save();
  }
  const std::size_t found = ini.FindKey(header, k);
  if (found != IniFile::npos) {
    // The stored spelling of the key is kept.
    Line& line = lines[found];
    const std::string name = line.name;
    line = ini.Make(name + "=" + std::string(value));
    return ini.Save();
  }
  std::size_t at = ini.SectionEnd(header);
  while (at > header + 1 && Trim(lines[at - 1].raw).empty()) --at;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), ini.Make(std::string(k) + "=" + std::string(value)));
  return ini.Save();
}

bool DeletePrivateProfileKey(std::string_view section, std::string_view key, const std::string& file,
                             std::optional<CodePage> cp) {
  std::lock_guard lock(gWriteMutex);
  IniFile ini(file, cp);
  if (!ini.Exists()) return LastFileError().cause == FileErrorCause::fileNotFound;
  const std::size_t header = ini.FindSection(Trim(section));
  if (header == IniFile::npos) return true;
  const std::size_t found = ini.FindKey(header, Trim(key));
  if (found == IniFile::npos) return true;
  ini.Lines().erase(ini.Lines().begin() + static_cast<std::ptrdiff_t>(found));
  return ini.Save();
}

bool DeletePrivateProfileSection(std::string_view section, const std::string& file, std::optional<CodePage> cp) {
  std::lock_guard lock(gWriteMutex);
  IniFile ini(file, cp);
  if (!ini.Exists()) return LastFileError().cause == FileErrorCause::fileNotFound;
  const std::size_t header = ini.FindSection(Trim(section));
  if (header == IniFile::npos) return true;
  const std::size_t end = ini.SectionEnd(header);
  ini.Lines().erase(ini.Lines().begin() + static_cast<std::ptrdiff_t>(header),
                    ini.Lines().begin() + static_cast<std::ptrdiff_t>(end));
  return ini.Save();
}

}  // namespace sys
