// Parsers of the menu, accelerator and dialog resource files.
#include "platform/res/ui_resource.h"

#include <charconv>
#include <cctype>

#include "platform/res/resource_store.h"

namespace res {
namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

struct Line {
  int number = 0;
  int indent = 0;
  std::vector<Token> tokens;
};

bool Fail(std::string* error, int line, const std::string& what) {
  if (error) *error = "line " + std::to_string(line) + ": " + what;
  return false;
}

// Splits the text into non-empty, non-comment lines of tokens.
bool Lex(std::string_view text, std::vector<Line>& out, std::string* error) {
  int number = 0;
  while (!text.empty()) {
    std::size_t eol = text.find('\n');
    std::string_view raw = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    Line line;
    line.number = number;
    std::size_t i = 0;
    while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t')) {
      line.indent += raw[i] == '\t' ? 2 : 1;
      ++i;
    }
    if (i == raw.size() || raw[i] == '#') continue;
    while (i < raw.size()) {
      if (raw[i] == ' ' || raw[i] == '\t') {
        ++i;
        continue;
      }
      Token t;
      if (raw[i] == '"') {
        t.quoted = true;
        ++i;
        bool closed = false;
        while (i < raw.size()) {
          char c = raw[i++];
          if (c == '"') {
            closed = true;
            break;
          }
          if (c == '\\' && i < raw.size()) {
            char e = raw[i++];
            t.text += e == 'n' ? '\n' : e == 't' ? '\t' : e;
          } else {
            t.text += c;
          }
        }
        if (!closed) return Fail(error, number, "text without closing quote");
      } else {
        while (i < raw.size() && raw[i] != ' ' && raw[i] != '\t') t.text += raw[i++];
      }
      line.tokens.push_back(std::move(t));
    }
    out.push_back(std::move(line));
  }
  return true;
}

bool ToInt(const std::string& s, long long& v) {
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc{} && p == s.data() + s.size();
}

bool ToId(const Token& t, std::uint32_t& id) {
  long long v = 0;
  if (t.quoted || !ToInt(t.text, v) || v < 0 || v > 0xFFFFFFFFLL) return false;
  id = static_cast<std::uint32_t>(v);
  return true;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Menu lines from `pos` at exactly `indent`, into out.
bool ParseMenuLevel(const std::vector<Line>& lines, std::size_t& pos, int indent, std::vector<MenuNode>& out,
                    std::string* error) {
  while (pos < lines.size()) {
    const Line& l = lines[pos];
    if (l.indent < indent) return true;
    if (l.indent > indent) return Fail(error, l.number, "unexpected indentation");
    const std::string kind = l.tokens[0].text;
    MenuNode node;
    std::size_t next = 1;
    if (kind == "separator") {
      node.kind = MenuNode::Kind::Separator;
    } else if (kind == "item") {
      if (l.tokens.size() < 3 || !ToId(l.tokens[1], node.id) || !l.tokens[2].quoted)
        return Fail(error, l.number, "expected: item <id> \"text\"");
      node.text = l.tokens[2].text;
      next = 3;
    } else if (kind == "popup") {
      if (l.tokens.size() < 2 || !l.tokens[1].quoted) return Fail(error, l.number, "expected: popup \"text\"");
      node.kind = MenuNode::Kind::Popup;
      node.text = l.tokens[1].text;
      next = 2;
    } else {
      return Fail(error, l.number, "unknown menu entry '" + kind + "'");
    }
    for (; next < l.tokens.size(); ++next) {
      const std::string& f = l.tokens[next].text;
      if (f == "grayed") node.grayed = true;
      else if (f == "checked") node.checked = true;
      else return Fail(error, l.number, "unknown flag '" + f + "'");
    }
    ++pos;
    if (node.kind == MenuNode::Kind::Popup && pos < lines.size() && lines[pos].indent > indent) {
      if (!ParseMenuLevel(lines, pos, lines[pos].indent, node.children, error)) return false;
    }
    out.push_back(std::move(node));
  }
  return true;
}

const char* const kControlKinds[] = {"button", "check", "radio", "edit", "static", "list", "listbox", "combo",
                                     "slider", "spin", "tree", "datetime", "richedit", "progress", "stretch"};

bool IsControlKind(const std::string& k) {
  for (const char* c : kControlKinds)
    if (k == c) return true;
  return false;
}

bool ParseDialogBlock(const std::vector<Line>& lines, std::size_t& pos, std::vector<DialogNode>& out, bool nested,
                      std::string* error) {
  while (pos < lines.size()) {
    const Line& l = lines[pos++];
    const std::string& kind = l.tokens[0].text;
    if (kind == "end") {
      if (!nested) return Fail(error, l.number, "'end' without an open block");
      return true;
    }
    DialogNode node;
    node.kind = kind;
    std::size_t next = 1;
    bool block = kind == "row" || kind == "column" || kind == "buttons" || kind == "group" || kind == "tabs" ||
                 kind == "page" || kind == "grid";
    if (!block && !IsControlKind(kind)) return Fail(error, l.number, "unknown dialog entry '" + kind + "'");
    if (kind != "row" && kind != "column" && kind != "buttons" && kind != "page" && kind != "stretch" &&
        kind != "grid") {
      long long id = 0;
      if (l.tokens.size() < 2 || l.tokens[1].quoted || !ToInt(l.tokens[1].text, id) || id < -1 || id > 0xFFFF)
        return Fail(error, l.number, "expected a control id after '" + kind + "'");
      node.id = static_cast<int>(id);
      next = 2;
    }
    if (next < l.tokens.size() && l.tokens[next].quoted) node.text = l.tokens[next++].text;
    for (; next < l.tokens.size(); ++next) {
      if (l.tokens[next].quoted) return Fail(error, l.number, "unexpected text \"" + l.tokens[next].text + "\"");
      node.styles.push_back(l.tokens[next].text);
    }
    if (block) {
      if (!ParseDialogBlock(lines, pos, node.children, true, error)) return false;
    }
    out.push_back(std::move(node));
  }
  if (nested) return Fail(error, lines.empty() ? 0 : lines.back().number, "block not closed with 'end'");
  return true;
}

std::string ResourcePath(std::uint16_t languageId, std::string_view folder, std::uint32_t id, std::string_view ext) {
  std::string lang(LanguageFolder(static_cast<Language>(languageId)));
  return lang + "/" + std::string(folder) + "/" + std::to_string(id) + "." + std::string(ext);
}

}  // namespace

bool DialogNode::HasStyle(std::string_view s) const {
  for (const auto& st : styles)
    if (st == s) return true;
  return false;
}

std::string DialogNode::StyleValue(std::string_view name) const {
  for (const auto& st : styles) {
    if (st.size() > name.size() && st.compare(0, name.size(), name) == 0 && st[name.size()] == '=')
      return st.substr(name.size() + 1);
  }
  return {};
}

std::optional<std::vector<MenuNode>> ParseMenu(std::string_view text, std::string* error) {
  std::vector<Line> lines;
  if (!Lex(text, lines, error)) return std::nullopt;
  std::vector<MenuNode> out;
  std::size_t pos = 0;
  int indent = lines.empty() ? 0 : lines[0].indent;
  if (!ParseMenuLevel(lines, pos, indent, out, error)) return std::nullopt;
  if (pos < lines.size()) {
    Fail(error, lines[pos].number, "indentation less than the first entry");
    return std::nullopt;
  }
  return out;
}

std::uint32_t KeyFromName(std::string_view name) {
  std::string n = Lower(name);
  if (n.size() == 1) {
    char c = n[0];
    if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a' + 'A');
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c);
  }
  long long v = 0;
  if (n.size() >= 2 && n[0] == 'f' && ToInt(n.substr(1), v) && v >= 1 && v <= 24)
    return 0x70 + static_cast<std::uint32_t>(v - 1);
  if (n.size() == 4 && n.compare(0, 3, "num") == 0 && n[3] >= '0' && n[3] <= '9')
    return 0x60 + static_cast<std::uint32_t>(n[3] - '0');
  struct Named {
    const char* name;
    std::uint32_t vk;
  };
  static const Named kNames[] = {
      {"left", 0x25},   {"right", 0x27},    {"up", 0x26},     {"down", 0x28},     {"pageup", 0x21},
      {"pagedown", 0x22}, {"home", 0x24},   {"end", 0x23},    {"insert", 0x2D},   {"delete", 0x2E},
      {"space", 0x20},  {"enter", 0x0D},    {"escape", 0x1B}, {"tab", 0x09},      {"back", 0x08},
      {"add", 0x6B},    {"subtract", 0x6D}, {"multiply", 0x6A}, {"divide", 0x6F}, {"pause", 0x13},
  };
  for (const auto& k : kNames)
    if (n == k.name) return k.vk;
  return 0;
}

std::optional<std::vector<AccelNode>> ParseAccelerators(std::string_view text, std::string* error) {
  std::vector<Line> lines;
  if (!Lex(text, lines, error)) return std::nullopt;
  std::vector<AccelNode> out;
  for (const Line& l : lines) {
    AccelNode a;
    if (l.tokens.size() != 2 || !ToId(l.tokens[1], a.command)) {
      Fail(error, l.number, "expected: <keys> <command>");
      return std::nullopt;
    }
    std::string_view keys = l.tokens[0].text;
    while (true) {
      std::size_t plus = keys.find('+', 1);
      std::string_view part = keys.substr(0, plus);
      if (plus == std::string_view::npos) {
        a.vk = KeyFromName(part);
        if (a.vk == 0) {
          Fail(error, l.number, "unknown key '" + std::string(part) + "'");
          return std::nullopt;
        }
        break;
      }
      std::string mod = Lower(part);
      if (mod == "ctrl") a.ctrl = true;
      else if (mod == "shift") a.shift = true;
      else if (mod == "alt") a.alt = true;
      else {
        Fail(error, l.number, "unknown modifier '" + std::string(part) + "'");
        return std::nullopt;
      }
      keys = keys.substr(plus + 1);
    }
    out.push_back(a);
  }
  return out;
}

std::optional<DialogTemplate> ParseDialog(std::string_view text, std::string* error) {
  std::vector<Line> lines;
  if (!Lex(text, lines, error)) return std::nullopt;
  DialogTemplate t;
  std::size_t pos = 0;
  if (!lines.empty() && lines[0].tokens[0].text == "caption") {
    if (lines[0].tokens.size() != 2 || !lines[0].tokens[1].quoted) {
      Fail(error, lines[0].number, "expected: caption \"text\"");
      return std::nullopt;
    }
    t.caption = lines[0].tokens[1].text;
    pos = 1;
  }
  if (!ParseDialogBlock(lines, pos, t.nodes, false, error)) return std::nullopt;
  return t;
}

std::optional<std::vector<MenuNode>> LoadMenuResource(std::uint32_t id, std::uint16_t languageId, std::string* error) {
  std::string path = ResourcePath(languageId, "menus", id, "menu");
  std::string_view text = FileText(path);
  if (text.empty()) {
    if (error) *error = "no menu resource " + path;
    return std::nullopt;
  }
  std::string err;
  auto menu = ParseMenu(text, &err);
  if (!menu && error) *error = path + ": " + err;
  return menu;
}

std::optional<std::vector<AccelNode>> LoadAccelResource(std::uint32_t id, std::uint16_t languageId, std::string* error) {
  std::string path = ResourcePath(languageId, "accel", id, "accel");
  std::string_view text = FileText(path);
  if (text.empty()) {
    if (error) *error = "no accelerator resource " + path;
    return std::nullopt;
  }
  std::string err;
  auto accel = ParseAccelerators(text, &err);
  if (!accel && error) *error = path + ": " + err;
  return accel;
}

std::optional<DialogTemplate> LoadDialogResource(std::uint32_t id, std::uint16_t languageId, std::string* error) {
  std::string path = ResourcePath(languageId, "dialogs", id, "dlg");
  std::string_view text = FileText(path);
  if (text.empty()) {
    if (error) *error = "no dialog resource " + path;
    return std::nullopt;
  }
  std::string err;
  auto dlg = ParseDialog(text, &err);
  if (!dlg) {
    if (error) *error = path + ": " + err;
    return std::nullopt;
  }
  dlg->id = static_cast<int>(id);
  return dlg;
}

}  // namespace res
