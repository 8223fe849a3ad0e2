#include "platform/system/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <random>

#include "platform/system/binary_file.h"
#include "platform/system/file_io.h"
#include "platform/system/text_compare.h"

namespace sys {
namespace {

bool Fail(int err, const std::string& path) {
  SetLastFileError(MakeFileError(err, path));
  return false;
}

std::uint32_t AttributesOf(const std::string& name, const struct stat& st) {
  std::uint32_t a = 0;
  if (S_ISDIR(st.st_mode)) a |= kAttrDirectory;
  if ((st.st_mode & S_IWUSR) == 0) a |= kAttrReadOnly;
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") a |= kAttrHidden;
  return a == 0 ? kAttrNormal : a;
}

std::string UniqueSuffix() {
  static std::atomic<unsigned> counter{0};
  thread_local std::mt19937 rng{std::random_device{}()};
  return std::to_string(::getpid()) + "_" + std::to_string(counter.fetch_add(1)) + "_" +
         std::to_string(rng() % 100000);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string ReplaceExtension(const std::string& path, const std::string& extension) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  std::string base = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? path.substr(0, dot) : path;
  return extension.empty() ? base : base + "." + extension;
}

std::string FileTitleOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

PathParts SplitPath(const std::string& path) {
  PathParts p;
  std::string rest = path;
  if (rest.size() >= 2 && rest[1] == ':' &&
      ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
    p.drive = rest.substr(0, 2);
    rest.erase(0, 2);
  }
  const std::size_t sep = rest.find_last_of("/\\");
  if (sep != std::string::npos) {
    p.folder = rest.substr(0, sep + 1);
    rest.erase(0, sep + 1);
  }
  const std::size_t dot = rest.rfind('.');
  if (dot != std::string::npos) {
    p.extension = rest.substr(dot);
    rest.erase(dot);
  }
  p.name = rest;
  return p;
}

std::string MakePath(const PathParts& parts) {
  std::string out = parts.drive + parts.folder;
  if (!parts.folder.empty() && parts.folder.back() != '/' && parts.folder.back() != '\\') out += '/';
  out += parts.name;
  if (!parts.extension.empty()) {
    if (parts.extension.front() != '.') out += '.';
    out += parts.extension;
  }
  return out;
}

std::uint32_t GetFileAttributes(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    Fail(errno, path);
    return kInvalidAttributes;
  }
  return AttributesOf(FileNameOf(path), st);
}

bool SetFileAttributes(const std::string& path, std::uint32_t attributes) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return Fail(errno, path);
  mode_t mode = st.st_mode & 07777;
  if (attributes & kAttrReadOnly)
    mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
  else
    mode |= S_IWUSR;
  if (mode == (st.st_mode & 07777)) return true;
  if (::chmod(path.c_str(), mode) != 0) return Fail(errno, path);
  return true;
}

bool IsReadOnly(const std::string& path) {
  const std::uint32_t a = GetFileAttributes(path);
  return a != kInvalidAttributes && (a & kAttrReadOnly) != 0;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
  return SetFileAttributes(path, readOnly ? kAttrReadOnly : kAttrNormal);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::uint64_t> FileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    Fail(errno, path);
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(st.st_size);
}

std::optional<std::time_t> FileModifiedTime(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    Fail(errno, path);
    return std::nullopt;
  }
  return st.st_mtime;
}

std::vector<FoundFile> FindFiles(const std::string& pattern) {
  std::vector<FoundFile> found;
  const std::size_t slash = pattern.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : pattern.substr(0, slash));
  const std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) {
    Fail(errno, folder);
    return found;
  }
  const std::string prefix = folder == "/" ? "/" : folder + "/";
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == ".." || !WildcardMatch(mask, name)) continue;
    FoundFile f;
    f.name = name;
    f.path = prefix + name;
    struct stat st {};
    if (::stat(f.path.c_str(), &st) != 0) continue;  // vanished or a dangling link
    f.isFolder = S_ISDIR(st.st_mode);
    f.size = f.isFolder ? 0 : static_cast<std::uint64_t>(st.st_size);
    f.modified = st.st_mtime;
    f.attributes = AttributesOf(name, st);
    found.push_back(std::move(f));
  }
  ::closedir(dir);
  std::sort(found.begin(), found.end(), [](const FoundFile& a, const FoundFile& b) { return a.name < b.name; });
  return found;
}

bool DeleteFile(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return Fail(errno, path);
  if (S_ISDIR(st.st_mode)) return Fail(EISDIR, path);
  if (S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0) return Fail(EACCES, path);
  if (::unlink(path.c_str()) != 0) return Fail(errno, path);
  return true;
}

bool MoveFile(const std::string& from, const std::string& to) {
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0) return Fail(errno, from);
  // A file already at the target is never replaced.
  if (::lstat(to.c_str(), &st) == 0) return Fail(EEXIST, to);
  if (::rename(from.c_str(), to.c_str()) != 0) return Fail(errno, to);
  return true;
}

bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
  struct stat src {};
  if (::stat(from.c_str(), &src) != 0) return Fail(errno, from);
  if (S_ISDIR(src.st_mode)) return Fail(EISDIR, from);
  struct stat dst {};
  if (::stat(to.c_str(), &dst) == 0) {
    if (failIfExists) return Fail(EEXIST, to);
    if (src.st_dev == dst.st_dev && src.st_ino == dst.st_ino) return Fail(EINVAL, to);
  }
  BinaryFile in;
  if (!in.Open(from, BinaryFile::kRead)) return false;
  AtomicFileWriter out;
  if (!out.Open(to)) return false;
  char buf[1 << 16];
  while (true) {
    const std::size_t n = in.Read(buf, sizeof buf);
    if (in.LastError().Failed()) return false;
    if (n == 0) break;
    if (!out.Write(buf, n)) return false;
  }
  if (!out.Commit()) return false;
  if (::chmod(to.c_str(), src.st_mode & 07777) != 0) return Fail(errno, to);
  return true;
}

bool CreateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) != 0) return Fail(errno, path);
  return true;
}

bool CreateFolders(const std::string& path) {
  if (FolderExists(path)) return true;
  for (std::size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != '/') continue;
    const std::string part = path.substr(0, pos);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return Fail(errno, part);
  }
  return FolderExists(path) ? true : Fail(ENOTDIR, path);
}

bool RemoveFolder(const std::string& path) {
  if (::rmdir(path.c_str()) != 0) return Fail(errno, path);
  return true;
}

std::string TempFolder() {
  const char* t = std::getenv("TMPDIR");
  std::string folder = (t != nullptr && *t == '/') ? t : "/tmp";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::string CreateTempFile(const std::string& folder, const std::string& prefix) {
  std::string dir = folder.empty() ? TempFolder() : folder;
  if (dir.back() != '/') dir += '/';
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = dir + prefix + UniqueSuffix() + ".tmp";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) {
      Fail(errno, path);
      return {};
    }
  }
  Fail(EEXIST, dir);
  return {};
}

std::string CreateTempFolder(const std::string& prefix) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = TempFolder() + prefix + UniqueSuffix();
    if (::mkdir(path.c_str(), 0700) == 0) return path;
    if (errno != EEXIST) {
      Fail(errno, path);
      return {};
    }
  }
  Fail(EEXIST, TempFolder());
  return {};
}

}  // namespace sys
