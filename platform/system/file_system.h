#pragma once
// Files and folders: existence, attributes, search with wildcards, temporary files,
// deleting, renaming, copying and making folders. Paths are UTF-8 with '/' between
// folders. Failing calls return false (or nothing) and leave the cause in LastFileError().
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/system/file_error.h"

namespace sys {

// Attribute bits, numbered as the system stores them (the open recording's saved
// attributes are kept in this form).
constexpr std::uint32_t kAttrReadOnly = 0x01;
constexpr std::uint32_t kAttrHidden = 0x02;
constexpr std::uint32_t kAttrDirectory = 0x10;
constexpr std::uint32_t kAttrArchive = 0x20;
constexpr std::uint32_t kAttrNormal = 0x80;
constexpr std::uint32_t kInvalidAttributes = 0xFFFFFFFF;

// Attributes of a file or folder, kInvalidAttributes when it does not exist. Read-only is a
// missing owner write bit; hidden is a name starting with '.'; a plain writable file is
// kAttrNormal.
std::uint32_t GetFileAttributes(const std::string& path);
// Sets the read-only attribute from the bits (the others cannot be set here): read-only
// removes every write bit, otherwise the owner's write bit is given back. The file's times
// are kept.
bool SetFileAttributes(const std::string& path, std::uint32_t attributes);
bool IsReadOnly(const std::string& path);
bool SetReadOnly(const std::string& path, bool readOnly);

bool FileExists(const std::string& path);    // a file, not a folder
bool FolderExists(const std::string& path);
std::optional<std::uint64_t> FileSize(const std::string& path);
std::optional<std::time_t> FileModifiedTime(const std::string& path);

struct FoundFile {
  std::string name;  // file name without folder
  std::string path;  // folder + "/" + name
  bool isFolder = false;
  std::uint64_t size = 0;
  std::time_t modified = 0;
  std::uint32_t attributes = 0;
};
// Entries of a folder whose names match the last component of `pattern` ("/data/*.RAF",
// "/data/night??.fyd"), compared without regard to case; sorted by name; "." and ".." are
// never listed. A missing folder gives an empty list (and LastFileError()).
std::vector<FoundFile> FindFiles(const std::string& pattern);

// Removes a file (false for a read-only one, as the system refuses those, and for folders).
bool DeleteFile(const std::string& path);
// Renames or moves a file or folder; fails when the target exists.
bool MoveFile(const std::string& from, const std::string& to);
// Copies a file with its permission bits. With failIfExists the copy fails when the target
// exists; otherwise a writable target is replaced (a read-only one is refused). The target
// is written beside and renamed into place, so a failed copy leaves it as it was.
bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);
// Makes one folder (its parent must exist); false when it exists already.
bool CreateFolder(const std::string& path);
// Makes a folder and every missing folder above it (true when it exists already).
bool CreateFolders(const std::string& path);
// Removes an empty folder.
bool RemoveFolder(const std::string& path);

// Folder for temporary files ($TMPDIR, else /tmp), with a trailing '/'.
std::string TempFolder();
// Creates a new empty file "<folder>/<prefix><unique>.tmp" and returns its path (empty
// on failure). An empty folder means TempFolder().
std::string CreateTempFile(const std::string& folder, const std::string& prefix);
// Creates a new folder "<TempFolder()><prefix><unique>" and returns its path.
std::string CreateTempFolder(const std::string& prefix);

// Folder part of a path ("/a/b.txt" -> "/a"), file name ("b.txt"), extension without the
// dot ("txt"), and the path with another extension ("/a/b.bmp").
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);
std::string ExtensionOf(const std::string& path);
std::string ReplaceExtension(const std::string& path, const std::string& extension);
// File name without folder and extension ("/a/b.txt" -> "b").
std::string FileTitleOf(const std::string& path);

// A path split as the system's code splits paths: drive ("C:" or empty), folder with its
// trailing separator ("/data/" or "\\data\\"), name, and extension with its dot (".fyd").
// Both '/' and '\\' separate folders, so that paths stored by other systems split too.
// drive + folder + name + extension gives the path back.
struct PathParts {
  std::string drive;
  std::string folder;
  std::string name;
  std::string extension;
};
PathParts SplitPath(const std::string& path);
// Joins parts, adding a '/' after a folder without a separator and a '.' before an extension
// without one.
std::string MakePath(const PathParts& parts);

}  // namespace sys
