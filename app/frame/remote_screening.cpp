#include "app/frame/remote_screening.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/system/binary_file.h"
#include "platform/system/code_page.h"
#include "platform/system/file_system.h"
#include "platform/system/locale.h"
#include "platform/system/shell.h"
#include "platform/system/text_compare.h"

namespace {

// The text of a field up to its NUL, never beyond the block or the field's width.
std::string FieldText(std::span<const std::uint8_t> block, std::size_t offset, std::size_t width) {
  if (offset >= block.size()) return {};
  const std::size_t end = std::min(block.size(), offset + width);
  std::size_t n = offset;
  while (n < end && block[n] != 0) ++n;
  return sys::ToUtf8(std::string_view(reinterpret_cast<const char*>(block.data() + offset), n - offset),
                     sys::AnsiCodePage());
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// The file can be made in its folder: created once, then removed.
bool CanCreate(const std::string& path) {
  {
    sys::BinaryFile probe;
    if (!probe.Open(path, sys::BinaryFile::kCreate | sys::BinaryFile::kWrite)) return false;
  }
  sys::DeleteFile(path);
  return true;
}

// Copies over the target; a read-only target is made writable for the copy and read-only again.
bool CopyOver(const std::string& from, const std::string& to) {
  const bool readOnly = sys::FileExists(to) && sys::IsReadOnly(to);
  if (readOnly) sys::SetReadOnly(to, false);
  const bool ok = sys::CopyFile(from, to, false);
  if (readOnly) sys::SetReadOnly(to, true);
  return ok;
}

}  // namespace

RemoteScreeningRequest ParseRemoteScreeningRequest(std::span<const std::uint8_t> block) {
  RemoteScreeningRequest r;
  r.dataPath = FieldText(block, 0, kRemoteRequestPathBytes);
  if (block.size() >= kRemoteRequestResultOffset)
    r.copyFlag = static_cast<std::uint16_t>(block[260] | (block[261] << 8));
  else if (block.size() == kRemoteRequestPathBytes + 1)
    r.copyFlag = block[260];
  const std::string resultPath =
      FieldText(block, kRemoteRequestResultOffset, block.size() > kRemoteRequestResultOffset
                                                       ? block.size() - kRemoteRequestResultOffset
                                                       : 0);
  const sys::PathParts parts = sys::SplitPath(resultPath);
  r.resultFolder = parts.drive + parts.folder;
  r.resultName = parts.name;
  return r;
}

std::string BuildRemoteScreeningRequest(const std::string& dataPath, std::uint16_t copyFlag,
                                        const std::string& resultPath) {
  const sys::CodePage cp = sys::AnsiCodePage();
  std::string block(kRemoteRequestResultOffset, '\0');
  sys::WriteFixedField(std::span<char>(block.data(), kRemoteRequestPathBytes), dataPath, cp);
  block[260] = static_cast<char>(copyFlag & 0xFF);
  block[261] = static_cast<char>(copyFlag >> 8);
  block += sys::FromUtf8(resultPath, cp);
  block.push_back('\0');
  return block;
}

int CopyRemoteScreeningResults(const std::string& dataPath, const std::string& resultFolder,
                               const std::string& resultName, std::uint32_t folderMode,
                               const std::string& folderText) {
  const sys::PathParts data = sys::SplitPath(dataPath);
  std::string folder = resultFolder;
  if (folder.empty() || !IsSeparator(folder.back())) folder += '/';

  const std::string target = folder + resultName + data.extension;
  if (!sys::EqualNoCase(target, dataPath) && !CopyOver(dataPath, target)) return 0;

  const std::string searchFolder = folderMode == 0 ? data.drive + data.folder : folderText + "/";
  std::string pattern = searchFolder + data.name + "_*.raf";
  if (!CanCreate(searchFolder + data.name + "VellisomVersion3.txt"))
    pattern = sys::DesktopFolder() + "/" + data.name + "_*.raf";

  const std::vector<sys::FoundFile> found = sys::FindFiles(pattern);
  if (found.empty()) {
    sys::SetLastFileError(sys::FileError{sys::FileErrorCause::fileNotFound, 0, pattern});
    return 0;
  }
  for (const sys::FoundFile& f : found) {
    if (f.isFolder) continue;
    const std::string title = sys::FileTitleOf(f.path);
    const std::size_t underscore = title.rfind('_');
    const std::string suffix = underscore == std::string::npos ? title : title.substr(underscore);
    const std::string newName = folder + resultName + suffix + ".raf";
    if (!sys::EqualNoCase(newName, f.path) && !CopyOver(f.path, newName)) return 0;
  }
  return 1;
}
