#include "platform/system/shell.h"

#include <sys/stat.h>

#include <cstdlib>

#include "platform/system/file_error.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/system/text_compare.h"

namespace sys {
namespace {

std::string Home() {
  const char* h = std::getenv("HOME");
  return h != nullptr && *h != '\0' ? h : "/";
}

// Expands "$HOME/..." as user-dirs.dirs writes its folders.
std::string ExpandHome(std::string v) {
  if (v.rfind("$HOME", 0) == 0) v = Home() + v.substr(5);
  return v;
}

std::string DesktopFromUserDirs() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::string config = (xdg != nullptr && *xdg == '/') ? xdg : Home() + "/.config";
  const std::optional<std::string> text = ReadWholeFile(config + "/user-dirs.dirs");
  if (!text) return {};
  std::size_t pos = 0;
  while (pos < text->size()) {
    std::size_t nl = text->find('\n', pos);
    if (nl == std::string::npos) nl = text->size();
    const std::string line = text->substr(pos, nl - pos);
    pos = nl + 1;
    constexpr std::string_view kKey = "XDG_DESKTOP_DIR=";
    if (line.rfind(kKey, 0) != 0) continue;
    std::string v = line.substr(kKey.size());
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return ExpandHome(v);
  }
  return {};
}

// Quotes one argument for the Exec key of a desktop entry.
std::string ExecArgument(const std::string& a) {
  std::string out;
  bool quote = a.empty();
  for (const char c : a) {
    if (std::string_view(" \t\n\"'\\><~|&;$*?#()`").find(c) != std::string_view::npos) quote = true;
  }
  for (const char c : a) {
    if (c == '%') {
      out += "%%";
    } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return quote ? "\"" + out + "\"" : out;
}

// Escapes a value of a desktop entry ("\\" for a backslash, no line breaks).
std::string EntryValue(const std::string& v) {
  std::string out;
  for (const char c : v) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string DesktopFolder() {
  std::string d;
  if (const char* env = std::getenv("XDG_DESKTOP_DIR"); env != nullptr && *env == '/') d = env;
  if (d.empty() || !FolderExists(d)) d = DesktopFromUserDirs();
  if (d.empty() || !FolderExists(d)) d = Home() + "/Desktop";
  if (!FolderExists(d)) d = Home();
  while (d.size() > 1 && d.back() == '/') d.pop_back();
  return d;
}

std::vector<std::string> SplitArguments(const std::string& arguments) {
  std::vector<std::string> args;
  std::string current;
  bool inQuotes = false, any = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const char c = arguments[i];
    if (c == '\\' && i + 1 < arguments.size() && arguments[i + 1] == '"') {
      current += '"';
      any = true;
      ++i;
    } else if (c == '"') {
      inQuotes = !inQuotes;
      any = true;
    } else if ((c == ' ' || c == '\t') && !inQuotes) {
      if (any) args.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) args.push_back(current);
  return args;
}

std::string CreateShellLink(const std::string& linkPath, const std::string& targetPath, const std::string& arguments,
                            const std::string& description) {
  if (linkPath.empty() || targetPath.empty()) {
    SetLastFileError(FileError{FileErrorCause::badPath, 0, linkPath});
    return {};
  }
  std::string path = linkPath;
  if (EqualNoCase(ExtensionOf(path), "lnk")) path = ReplaceExtension(path, "desktop");
  std::string name = FileNameOf(path);
  name = name.substr(0, name.rfind('.'));

  std::string exec = ExecArgument(targetPath);
  for (const std::string& a : SplitArguments(arguments)) exec += " " + ExecArgument(a);
  std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
  text += "Name=" + EntryValue(name) + "\n";
  if (!description.empty()) text += "Comment=" + EntryValue(description) + "\n";
  text += "Exec=" + EntryValue(exec) + "\n";
  text += "Path=" + EntryValue(FolderOf(targetPath)) + "\n";
  text += "Terminal=false\n";
  if (!WriteFileAtomic(path, text)) return {};
  // Desktops start only launchers that are marked executable.
  ::chmod(path.c_str(), 0755);
  return path;
}

}  // namespace sys
