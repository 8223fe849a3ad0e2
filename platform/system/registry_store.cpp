#include "platform/system/registry_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "platform/system/file_error.h"
#include "platform/system/file_io.h"
#include "platform/system/text_compare.h"

namespace sys {
namespace {

constexpr std::string_view kHeader = "QLM2 registry 1";

struct Node {
  std::string name;
  std::vector<std::unique_ptr<Node>> children;
  std::vector<std::pair<std::string, RegValue>> values;

  Node* Child(std::string_view n) const {
    for (const auto& c : children)
      if (EqualNoCase(c->name, n)) return c.get();
    return nullptr;
  }
  RegValue* Value(std::string_view n) {
    for (auto& v : values)
      if (EqualNoCase(v.first, n)) return &v.second;
    return nullptr;
  }
};

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const std::size_t bs = path.find('\\');
    const std::string_view part = path.substr(0, bs);
    if (!part.empty()) parts.push_back(part);
    if (bs == std::string_view::npos) break;
    path.remove_prefix(bs + 1);
  }
  return parts;
}

std::string Escape(std::string_view s) {
  static const char* kHex = "0123456789abcdef";
  std::string out;
  for (const char ch : s) {
    const auto b = static_cast<unsigned char>(ch);
    switch (ch) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default:
        if (b < 0x20 || b == 0x7F) {
          out += "\\x";
          out += kHex[b >> 4];
          out += kHex[b & 15];
        } else {
          out += ch;
        }
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Unescape(std::string_view s, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (++i >= s.size()) return false;
    switch (s[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 'x': {
        if (i + 2 >= s.size()) return false;
        const int h = HexDigit(s[i + 1]), l = HexDigit(s[i + 2]);
        if (h < 0 || l < 0) return false;
        out += static_cast<char>(h * 16 + l);
        i += 2;
        break;
      }
      default: return false;
    }
  }
  return true;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> f;
  while (true) {
    const std::size_t t = line.find('\t');
    f.push_back(line.substr(0, t));
    if (t == std::string_view::npos) break;
    line.remove_prefix(t + 1);
  }
  return f;
}

// The whole store, two trees (one per root).
struct Store {
  Node roots[2];

  Node& Root(RegRoot r) { return roots[r == RegRoot::LocalMachine ? 1 : 0]; }

  Node* Find(RegRoot r, std::string_view path) {
    Node* n = &Root(r);
    for (const std::string_view part : SplitPath(path)) {
      n = n->Child(part);
      if (n == nullptr) return nullptr;
    }
    return n;
  }
  Node* Make(RegRoot r, std::string_view path) {
    Node* n = &Root(r);
    for (const std::string_view part : SplitPath(path)) {
      Node* c = n->Child(part);
      if (c == nullptr) {
        n->children.push_back(std::make_unique<Node>());
        c = n->children.back().get();
        c->name = std::string(part);
      }
      n = c;
    }
    return n;
  }
};

void Serialise(const Node& n, const std::string& keyLine, std::string& out) {
  if (!keyLine.empty()) {
    out += keyLine;
    out += '\n';
  }
  for (const auto& [name, value] : n.values) {
    out += "V\t" + std::to_string(static_cast<std::uint32_t>(value.type)) + "\t" + Escape(name) + "\t" +
           Escape(value.data) + "\n";
  }
  for (const auto& c : n.children) Serialise(*c, keyLine + "\t" + Escape(c->name), out);
}

std::mutex gMutex;
std::string gTestFile;

std::string DefaultFile() {
  std::string base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return base + "/QLM2_Analyzer/registry.txt";
}

std::string FilePathLocked() { return gTestFile.empty() ? DefaultFile() : gTestFile; }

// Reads the store; a missing file is an empty store.
bool Load(Store& store) {
  const std::string path = FilePathLocked();
  const std::optional<std::string> text = ReadWholeFile(path);
  if (!text) return LastFileError().cause == FileErrorCause::fileNotFound;
  std::string_view s = *text;
  if (s.empty()) return true;
  const auto bad = [&] {
    SetLastFileError(FileError{FileErrorCause::invalidFile, 0, path});
    return false;
  };
  if (s.substr(0, kHeader.size()) != kHeader) return bad();
  Node* current = nullptr;
  std::string a, b;
  while (!s.empty()) {
    const std::size_t nl = s.find('\n');
    const std::string_view line = s.substr(0, nl);
    s.remove_prefix(nl == std::string_view::npos ? s.size() : nl + 1);
    if (line.empty() || line == kHeader) continue;
    const std::vector<std::string_view> f = SplitTabs(line);
    if (f[0] == "K" && f.size() >= 2) {
      RegRoot root;
      if (f[1] == "HKCU")
        root = RegRoot::CurrentUser;
      else if (f[1] == "HKLM")
        root = RegRoot::LocalMachine;
      else
        return bad();
      current = &store.Root(root);
      for (std::size_t i = 2; i < f.size(); ++i) {
        if (!Unescape(f[i], a) || a.empty() || a.find('\\') != std::string::npos) return bad();
        Node* c = current->Child(a);
        if (c == nullptr) {
          current->children.push_back(std::make_unique<Node>());
          c = current->children.back().get();
          c->name = a;
        }
        current = c;
      }
    } else if (f[0] == "V" && f.size() == 4 && current != nullptr) {
      char* end = nullptr;
      const std::string typeText(f[1]);
      const unsigned long type = std::strtoul(typeText.c_str(), &end, 10);
      if (typeText.empty() || *end != '\0' || type > 0xFFFFFFFFul) return bad();
      if (!Unescape(f[2], a) || !Unescape(f[3], b)) return bad();
      if (RegValue* v = current->Value(a))
        *v = RegValue{static_cast<RegType>(type), b};
      else
        current->values.emplace_back(a, RegValue{static_cast<RegType>(type), b});
    } else {
      return bad();
    }
  }
  return true;
}

bool MakeFolders(const std::string& filePath) {
  for (std::size_t pos = 1; (pos = filePath.find('/', pos)) != std::string::npos; ++pos) {
    const std::string dir = filePath.substr(0, pos);
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
      SetLastFileError(MakeFileError(errno, dir));
      return false;
    }
  }
  return true;
}

bool Save(Store& store) {
  std::string out(kHeader);
  out += '\n';
  Serialise(store.roots[0], "K\tHKCU", out);
  Serialise(store.roots[1], "K\tHKLM", out);
  const std::string path = FilePathLocked();
  if (!MakeFolders(path)) return false;
  return WriteFileAtomic(path, out);
}

// Runs a change on the stored state: load, change, save. A change that reports false
// is not saved.
template <typename Change>
bool Modify(Change change) {
  std::lock_guard lock(gMutex);
  Store store;
  if (!Load(store)) return false;
  if (!change(store)) return false;
  return Save(store);
}

template <typename Query>
auto Read(Query query) -> decltype(query(std::declval<Store&>())) {
  std::lock_guard lock(gMutex);
  Store store;
  if (!Load(store)) return std::nullopt;
  return query(store);
}

}  // namespace

std::string RegistryFilePath() {
  std::lock_guard lock(gMutex);
  return FilePathLocked();
}

void SetRegistryFileForTesting(const std::string& path) {
  std::lock_guard lock(gMutex);
  gTestFile = path;
}

bool RegCreateKey(RegRoot root, std::string_view path) {
  return Modify([&](Store& s) { return s.Make(root, path) != nullptr; });
}

bool RegKeyExists(RegRoot root, std::string_view path) {
  return Read([&](Store& s) -> std::optional<bool> { return s.Find(root, path) != nullptr; }).value_or(false);
}

namespace {
bool DeleteKey(RegRoot root, std::string_view path, bool tree) {
  const std::vector<std::string_view> parts = SplitPath(path);
  if (parts.empty()) return false;  // a root is never removed
  return Modify([&](Store& s) {
    Node* parent = &s.Root(root);
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
      parent = parent->Child(parts[i]);
      if (parent == nullptr) return false;
    }
    for (auto it = parent->children.begin(); it != parent->children.end(); ++it) {
      if (!EqualNoCase((*it)->name, parts.back())) continue;
      if (!tree && !(*it)->children.empty()) return false;
      parent->children.erase(it);
      return true;
    }
    return false;
  });
}
}  // namespace

bool RegDeleteKey(RegRoot root, std::string_view path) { return DeleteKey(root, path, false); }
bool RegDeleteTree(RegRoot root, std::string_view path) { return DeleteKey(root, path, true); }

bool RegSetValue(RegRoot root, std::string_view path, std::string_view name, RegType type, std::string_view bytes) {
  return Modify([&](Store& s) {
    Node* n = s.Make(root, path);
    if (RegValue* v = n->Value(name))
      *v = RegValue{type, std::string(bytes)};
    else
      n->values.emplace_back(std::string(name), RegValue{type, std::string(bytes)});
    return true;
  });
}

bool RegSetString(RegRoot root, std::string_view path, std::string_view name, std::string_view text) {
  std::string data(text);
  data += '\0';
  return RegSetValue(root, path, name, RegType::String, data);
}

bool RegSetDword(RegRoot root, std::string_view path, std::string_view name, std::uint32_t value) {
  const char data[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                        static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
  return RegSetValue(root, path, name, RegType::Dword, std::string_view(data, 4));
}

std::optional<RegValue> RegGetValue(RegRoot root, std::string_view path, std::string_view name) {
  return Read([&](Store& s) -> std::optional<RegValue> {
    Node* n = s.Find(root, path);
    if (n == nullptr) return std::nullopt;
    RegValue* v = n->Value(name);
    if (v == nullptr) return std::nullopt;
    return *v;
  });
}

std::optional<std::string> RegGetString(RegRoot root, std::string_view path, std::string_view name) {
  const std::optional<RegValue> v = RegGetValue(root, path, name);
  if (!v || (v->type != RegType::String && v->type != RegType::ExpandString)) return std::nullopt;
  return v->data.substr(0, v->data.find('\0'));
}

std::optional<std::uint32_t> RegGetDword(RegRoot root, std::string_view path, std::string_view name) {
  const std::optional<RegValue> v = RegGetValue(root, path, name);
  if (!v || v->type != RegType::Dword || v->data.size() != 4) return std::nullopt;
  std::uint32_t n = 0;
  for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v->data[static_cast<std::size_t>(i)]);
  return n;
}

bool RegDeleteValue(RegRoot root, std::string_view path, std::string_view name) {
  return Modify([&](Store& s) {
    Node* n = s.Find(root, path);
    if (n == nullptr) return false;
    for (auto it = n->values.begin(); it != n->values.end(); ++it) {
      if (EqualNoCase(it->first, name)) {
        n->values.erase(it);
        return true;
      }
    }
    return false;
  });
}

std::optional<std::vector<std::string>> RegEnumKeys(RegRoot root, std::string_view path) {
  return Read([&](Store& s) -> std::optional<std::vector<std::string>> {
    Node* n = s.Find(root, path);
    if (n == nullptr) return std::nullopt;
    std::vector<std::string> names;
    for (const auto& c : n->children) names.push_back(c->name);
    return names;
  });
}

std::optional<std::vector<std::string>> RegEnumValues(RegRoot root, std::string_view path) {
  return Read([&](Store& s) -> std::optional<std::vector<std::string>> {
    Node* n = s.Find(root, path);
    if (n == nullptr) return std::nullopt;
    std::vector<std::string> names;
    for (const auto& v : n->values) names.push_back(v.first);
    return names;
  });
}

}  // namespace sys
