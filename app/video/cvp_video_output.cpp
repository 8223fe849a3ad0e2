// Writing a set's range file, saving edited play ranges (with the removal of the video files no
// record keeps), and copying the files that cover a raw data output into a set beside it.
#include <filesystem>
#include <set>

#include "app/video/cvp_info_exchange.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdsSaveError = 2371;
constexpr std::uint32_t kIdsNoDiskSpace = 2434;

std::string Slashed(std::string s) {
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

// The part of a name after its last folder separator.
std::string LastPart(const std::string& name) {
  const std::size_t cut = name.find_last_of("/\\");
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

// A path as opening it finds it, for comparing two names of one file.
std::string Canonical(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::weakly_canonical(path, ec);
  return ec ? std::filesystem::path(path).lexically_normal().string() : p.string();
}

void ShowSaveError() { ui::MessageBox(res::LoadString(kIdsSaveError), ui::MB_OK | ui::MB_ICONEXCLAMATION); }

}  // namespace

bool CVPInfoExchange::WriteRanges(const std::vector<VideoFileRecord>& records, const std::string& path, bool relocate) {
  std::vector<VideoFileRecord> written = records;
  if (relocate && RangeFileWritten == 0) {
    const std::string setName = sys::FileTitleOf(path);
    for (VideoFileRecord& r : written) r.name = setName + "/" + LastPart(r.name);
  }
  // Beside and renamed into place: a failed write leaves the old file as it was.
  if (!sys::WriteFileAtomic(path, EncodeRangeFile(setWord_, written))) return false;
  RangeFileWritten = 0;
  return true;
}

int CVPInfoExchange::SaveEditedRanges() {
  if (!bound_) return 0;
  H().SetWaitCursor(true);
  int result = 1;
  if (!WriteRanges(records_, rangeFilePath_, true)) {
    // Nothing was written: every video file stays.
    ShowSaveError();
    result = 0;
  } else {
    RemoveCutFiles();
  }
  H().SetWaitCursor(false);
  return result;
}

void CVPInfoExchange::RemoveCutFiles() {
  if (setWord_ == 1) return;
  const std::string setFolder = sys::FolderOf(Slashed(rangeFilePath_));
  // The files the records keep, found as opening them finds them.
  std::set<std::string> kept;
  std::set<std::string> extensions{"mpg"};
  for (const VideoFileRecord& r : records_) {
    kept.insert(Canonical(ResolveRecordPath(r)));
    const std::string ext = sys::ExtensionOf(LastPart(r.name));
    if (!ext.empty()) extensions.insert(ext);
  }
  for (const std::string& ext : extensions) {
    for (const sys::FoundFile& f : sys::FindFiles(setFolder + "/*." + ext)) {
      if (f.isFolder || kept.count(Canonical(f.path)) != 0) continue;
      sys::DeleteFile(f.path);
    }
  }
}

int CVPInfoExchange::SaveRangeFile(double shift, const std::string& recordingPath) {
  for (VideoFileRecord& r : records_) {
    r.startTime += shift;
    r.endTime += shift;
  }
  const std::string path = RangeFilePathFor(recordingPath);
  const std::string setFolder = sys::FolderOf(path);
  if (!sys::FolderExists(setFolder)) sys::CreateFolder(setFolder);
  setWord_ = 1;
  if (!WriteRanges(records_, path, false)) return 0;
  rangeFilePath_ = path;
  RangeFileWritten = 1;
  return 1;
}

bool CVPInfoExchange::CheckDiskSpace(const std::vector<VideoFileRecord>& records, const std::string& sourceRangeFile,
                                     const std::string& outputRangeFile) {
  std::optional<std::uint64_t> free;
  if (FreeSpaceQuery) {
    free = FreeSpaceQuery(outputRangeFile);
  } else {
    // The file system that will hold the output: the nearest existing folder above it.
    std::filesystem::path at = std::filesystem::path(outputRangeFile).parent_path();
    std::error_code ec;
    while (!at.empty() && !std::filesystem::exists(at, ec)) at = at.parent_path();
    if (at.empty()) at = ".";
    const std::filesystem::space_info info = std::filesystem::space(at, ec);
    if (!ec) free = info.available;
  }
  if (!free) {
    // A disk that cannot be asked is told, not passed over silently.
    ShowSaveError();
    return false;
  }
  std::uint64_t needed = 0;
  for (const VideoFileRecord& r : records)
    needed += sys::FileSize(ResolveRecordPath(r, sourceRangeFile)).value_or(0);
  if (*free < needed) {
    char text[512];
    std::snprintf(text, sizeof text, res::LoadString(kIdsNoDiskSpace).c_str(), VideoSizeText(needed).c_str());
    ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
  }
  return true;
}

void CVPInfoExchange::CopySet(const std::vector<VideoFileRecord>& records, const std::string& sourceRangeFile,
                              const std::string& outputRangeFile) {
  const std::string outFolder = sys::FolderOf(outputRangeFile);
  if (!sys::FolderExists(outFolder)) sys::CreateFolders(outFolder);
  const std::string sourceFolder = sys::FolderOf(Slashed(sourceRangeFile));
  if (Canonical(outFolder) != Canonical(sourceFolder) && !records.empty()) {
    const std::string ext = sys::ExtensionOf(LastPart(records.front().name));
    for (const sys::FoundFile& f : sys::FindFiles(outFolder + "/*." + ext))
      if (!f.isFolder) sys::DeleteFile(f.path);
  }
  if (!WriteRanges(records, outputRangeFile, true)) {
    ShowSaveError();
    return;
  }
  for (const VideoFileRecord& r : records) {
    const std::string from = ResolveRecordPath(r, sourceRangeFile);
    const std::string to = outFolder + "/" + LastPart(r.name);
    if (Canonical(from) == Canonical(to)) continue;
    if (!sys::CopyFile(from, to, true)) {
      ShowSaveError();
      return;
    }
  }
}

int CVPInfoExchange::OutputVideoFile(const std::string& outputPath, double firstEpochTime, double lastEpochTime) {
  if (!bound_) return 0;
  H().SetWaitCursor(true);
  const double S = firstEpochTime;
  const double E = lastEpochTime + H().EpochSeconds();
  const std::string folder = sys::FolderOf(outputPath);
  const std::string name = sys::FileTitleOf(outputPath);
  const std::string outputRangeFile = (folder.empty() ? std::string{} : folder + "/") + name + "/" + name + ".hdr";

  const int n = static_cast<int>(records_.size());
  int f = -1;
  for (int i = 0; i < n && f < 0; ++i)
    if (S <= records_[static_cast<std::size_t>(i)].endTime) f = i;
  std::vector<VideoFileRecord> out;
  if (f >= 0) {
    auto at = [this](int i) -> const VideoFileRecord& { return records_[static_cast<std::size_t>(i)]; };
    // The first file's ranges from S on.
    std::vector<std::pair<double, double>> firstRanges;
    for (const auto& [b, e] : at(f).ranges) {
      if (S > at(f).startTime + e) continue;
      firstRanges.emplace_back(at(f).startTime + b < S ? S - at(f).startTime : b, e);
    }
    int first = f;
    if (firstRanges.empty()) {
      ++first;
      if (first < n) firstRanges = at(first).ranges;
    }
    int l = -1;
    for (int i = 0; i < n && l < 0; ++i)
      if (E <= at(i).endTime) l = i;
    const bool lastIsOwnEnd = l < 0;
    if (l < 0) l = n - 1;
    std::vector<std::pair<double, double>> lastRanges;
    const auto& source = l == first ? firstRanges : at(l).ranges;
    for (const auto& [b, e] : source) {
      if (at(l).startTime + b > E) continue;
      lastRanges.emplace_back(b, at(l).startTime + e > E ? E - at(l).startTime : e);
    }
    int last = l;
    bool lastKeepsAll = false;
    if (lastRanges.empty()) {
      --last;
      lastKeepsAll = true;
    }
    for (int i = first; i <= last && i < n; ++i) {
      VideoFileRecord r = at(i);
      r.startTime -= S;
      r.endTime -= S;
      if (i == first) r.ranges = firstRanges;
      if (i == last && !lastKeepsAll) {
        r.ranges = lastRanges;
        if (!lastIsOwnEnd) r.endTime = E > at(l).startTime ? E - S : (l > 0 ? at(l - 1).endTime - S : r.endTime);
      }
      out.push_back(std::move(r));
    }
  }
  if (!out.empty() && CheckDiskSpace(out, rangeFilePath_, outputRangeFile)) CopySet(out, rangeFilePath_, outputRangeFile);
  H().SetWaitCursor(false);
  return 1;
}
