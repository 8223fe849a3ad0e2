#include "app/video/cvp_info_exchange.h"

#include <span>
#include <string_view>

#include "app/document/byte_image.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/system/program_folder.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdsVideoInitFailed = 2470;

bytes::CSpan AsBytes(std::string_view s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Shown part of the picture of a version-1 entry (fractions top, bottom, left, right) as split
// kind, column and row.
void MapOldFractions(double top, double bottom, double left, double right, AutoPlayEntry& e) {
  auto is = [](double a, double b) { return a == b; };
  e.splitKind = 1;
  e.splitColumn = 1;
  e.splitRow = 1;
  if (is(top, 0.0) && is(bottom, 1.0) && is(left, 0.0) && is(right, 1.0)) {
    e.splitKind = 0;
    e.splitColumn = 0;
    e.splitRow = 0;
  } else if (is(top, 0.0) && is(bottom, 0.5) && is(left, 0.0) && is(right, 0.5)) {
    e.splitColumn = 0;
    e.splitRow = 0;
  } else if (is(top, 0.5) && is(bottom, 1.0) && is(left, 0.0) && is(right, 0.5)) {
    e.splitColumn = 0;
    e.splitRow = 1;
  } else if (is(top, 0.0) && is(bottom, 0.5) && is(left, 0.5) && is(right, 1.0)) {
    e.splitColumn = 1;
    e.splitRow = 0;
  }
}

}  // namespace

std::string EncodeAutoPlayList(const std::vector<AutoPlayEntry>& entries) {
  std::string out(4 + entries.size() * kAutoPlayEntryBytesV2, '\0');
  bytes::Span b{reinterpret_cast<std::uint8_t*>(out.data()), out.size()};
  bytes::Put<std::uint16_t>(b, 0, 2);
  bytes::Put<std::int16_t>(b, 2, static_cast<std::int16_t>(entries.size()));
  std::size_t off = 4;
  for (const AutoPlayEntry& e : entries) {
    bytes::PutPath(b, off, 260, e.rawPath);
    bytes::PutPath(b, off + 260, 260, e.resultPath);
    bytes::Put<double>(b, off + 520, e.startTime);
    bytes::Put<double>(b, off + 528, e.endTime);
    bytes::PutText(b, off + 536, 128, e.comment);
    bytes::Put<std::uint16_t>(b, off + 664, e.splitKind);
    bytes::Put<std::uint16_t>(b, off + 666, e.splitColumn);
    bytes::Put<std::uint16_t>(b, off + 668, e.splitRow);
    bytes::PutArray(b, off + 670, e.recordingStart);
    bytes::Put<double>(b, off + 686, e.recordingOffset);
    off += kAutoPlayEntryBytesV2;
  }
  return out;
}

bool DecodeAutoPlayList(std::string_view data, std::vector<AutoPlayEntry>& entries) {
  entries.clear();
  if (data.size() < 4) return false;
  const bytes::CSpan b = AsBytes(data);
  const auto version = bytes::Get<std::uint16_t>(b, 0);
  const auto count = bytes::Get<std::int16_t>(b, 2);
  if (version != 1 && version != 2) return false;
  // A negative count has nothing sound to allocate: the file counts as unreadable.
  if (count < 0) return false;
  const std::size_t size = version == 2 ? kAutoPlayEntryBytesV2 : kAutoPlayEntryBytesV1;
  if (data.size() < 4 + static_cast<std::size_t>(count) * size) return false;
  std::vector<AutoPlayEntry> read(static_cast<std::size_t>(count));
  std::size_t off = 4;
  for (AutoPlayEntry& e : read) {
    e.rawPath = bytes::GetPath(b, off, 260);
    e.resultPath = bytes::GetPath(b, off + 260, 260);
    e.startTime = bytes::Get<double>(b, off + 520);
    e.endTime = bytes::Get<double>(b, off + 528);
    e.comment = bytes::GetText(b, off + 536, 128);
    std::size_t tail = off + 664;
    if (version == 2) {
      e.splitKind = bytes::Get<std::uint16_t>(b, tail);
      e.splitColumn = bytes::Get<std::uint16_t>(b, tail + 2);
      e.splitRow = bytes::Get<std::uint16_t>(b, tail + 4);
      tail += 6;
    } else {
      MapOldFractions(bytes::Get<double>(b, tail), bytes::Get<double>(b, tail + 8), bytes::Get<double>(b, tail + 16),
                      bytes::Get<double>(b, tail + 24), e);
      tail += 32;
    }
    bytes::GetArray(b, tail, e.recordingStart);
    e.recordingOffset = bytes::Get<double>(b, tail + 16);
    off += size;
  }
  entries = std::move(read);
  return true;
}

std::string EncodeRangeFile(std::int16_t setWord, const std::vector<VideoFileRecord>& records) {
  std::size_t size = 8;
  for (const VideoFileRecord& r : records) size += 8 + 8 + 256 + 4 + r.ranges.size() * 16;
  std::string out(size, '\0');
  bytes::Span b{reinterpret_cast<std::uint8_t*>(out.data()), out.size()};
  bytes::Put<std::uint16_t>(b, 0, 2);
  bytes::Put<std::int16_t>(b, 2, setWord);
  bytes::Put<std::uint32_t>(b, 4, static_cast<std::uint32_t>(records.size()));
  std::size_t off = 8;
  for (const VideoFileRecord& r : records) {
    bytes::Put<double>(b, off, r.startTime);
    bytes::Put<double>(b, off + 8, r.endTime);
    bytes::PutText(b, off + 16, 256, r.name);
    bytes::Put<std::uint32_t>(b, off + 272, static_cast<std::uint32_t>(r.ranges.size()));
    off += 276;
    for (const auto& [begin, end] : r.ranges) {
      bytes::Put<double>(b, off, begin);
      bytes::Put<double>(b, off + 8, end);
      off += 16;
    }
  }
  return out;
}

CVPInfoExchange::~CVPInfoExchange() { UnloadVideoDll(); }

bool CVPInfoExchange::LibraryExists() { return sys::FileExists(sys::PathBesideProgram(kVideoPlayerLibraryName)); }

std::string CVPInfoExchange::AutoPlayFilePath() { return sys::PathBesideProgram("AutoPlay.inf"); }

bool CVPInfoExchange::BindEntryPoints() {
  auto bind = [this](auto& slot, const char* name) {
    slot = library_.Function<std::remove_reference_t<decltype(slot)>>(name);
  };
  bind(dll_.InitDll, "DLL_InitDll");
  bind(dll_.CloseDll, "DLL_CloseDll");
  bind(dll_.InitDShow, "DLL_InitDShow");
  bind(dll_.EndDShow, "DLL_EndDShow");
  bind(dll_.SetPlayMPEGFile, "DLL_SetPlayMPEGFile");
  bind(dll_.GetMPEGFileDurationTimeSec, "DLL_GetMPEGFileDurationTimeSec");
  bind(dll_.GetVideoWidth, "DLL_GetVideoWidth");
  bind(dll_.GetVideoHeight, "DLL_GetVideoHeight");
  bind(dll_.SetWindowPosition, "DLL_SetWindowPosition");
  bind(dll_.VideoPaint, "DLL_VideoPaint");
  bind(dll_.VideoDisp, "DLL_VideoDisp");
  bind(dll_.SetVideoRate, "DLL_SetVideoRate");
  bind(dll_.VideoRun, "DLL_VideoRun");
  bind(dll_.VideoPause, "DLL_VideoPause");
  bind(dll_.VideoStop, "DLL_VideoStop");
  bind(dll_.GetCurrentBuffer, "DLL_GetCurrentBuffer");
  bind(dll_.ConvertTime2Frame, "DLL_ConvertTime2Frame");
  bind(dll_.ConvertFrame2Time, "DLL_ConvertFrame2Time");
  bind(dll_.SetPositions, "DLL_SetPositions");
  bind(dll_.GetPositions, "DLL_GetPositions");
  bind(dll_.SetOneShot, "DLL_SetOneShot");
  bind(dll_.StepFrame, "DLL_StepFrame");
  bind(dll_.CheckNotify, "DLL_CheckNotify");
  bind(dll_.GetEvent, "DLL_GetEvent");
  bind(dll_.FreeEvent, "DLL_FreeEvent");
  bind(dll_.CheckEventCode, "DLL_CheckEventCode");
  return true;
}

int CVPInfoExchange::LoadVideoDll() {
  if (!library_.Load(sys::PathBesideProgram(kVideoPlayerLibraryName))) {
    ui::MessageBoxId(kIdsVideoInitFailed, ui::MB_OK);
    return 0;
  }
  bound_ = 1;
  BindEntryPoints();
  if (BindingChanged) BindingChanged(true);
  if (dll_.InitDShow) dll_.InitDShow(VideoFrameWindow, 0);
  autoPlayRead_ = ReadAutoPlayFile();
  return 1;
}

void CVPInfoExchange::UnloadVideoDll() {
  if (!bound_) return;
  Stop();
  if (dll_.EndDShow) dll_.EndDShow(0);
  if (dll_.CloseDll) dll_.CloseDll(0);
  dll_ = VideoPlayerEntryPoints{};
  library_.Unload();
  bound_ = 0;
  OpenState = 0;
  records_.clear();
  AutoPlayEntries.clear();
  if (BindingChanged) BindingChanged(false);
}

int CVPInfoExchange::InitVideoDll() {
  if (!bound_) return 0;
  const int result = dll_.InitDll ? dll_.InitDll(0) : 0;
  if (result == 0) ui::MessageBoxId(kIdsVideoInitFailed, ui::MB_OK);
  return result;
}

void CVPInfoExchange::Stop() {
  if (!bound_) return;
  if (dll_.VideoStop) dll_.VideoStop(0);
  if (dll_.GetCurrentBuffer) dll_.GetCurrentBuffer(0);
}

int CVPInfoExchange::ReadAutoPlayFile() {
  const auto data = sys::ReadWholeFile(AutoPlayFilePath());
  if (!data || !DecodeAutoPlayList(*data, AutoPlayEntries)) {
    AutoPlayEntries.clear();
    return 0;
  }
  return 1;
}

bool CVPInfoExchange::WriteAutoPlayFile() {
  if (AutoPlayEntries.empty()) {
    sys::DeleteFile(AutoPlayFilePath());
    return true;
  }
  return sys::WriteFileAtomic(AutoPlayFilePath(), EncodeAutoPlayList(AutoPlayEntries));
}

int CVPInfoExchange::LoadVideoFileTable(const std::string& path) {
  setWord_ = 1;
  records_.assign(1, VideoFileRecord{});
  double length = 0.0;
  if (!bound_ || !dll_.GetMPEGFileDurationTimeSec || dll_.GetMPEGFileDurationTimeSec(path.c_str(), &length, 0) == 0) {
    return 0;
  }
  VideoFileRecord& r = records_.front();
  r.startTime = 0.0;
  r.endTime = length;
  r.name = path;
  r.ranges.assign(1, {0.0, length});
  return 1;
}

int CVPInfoExchange::OpenVideo(int /*reload*/) {
  if (!bound_) return 0;
  if (dll_.EndDShow) dll_.EndDShow(0);
  if (dll_.InitDShow) dll_.InitDShow(VideoFrameWindow, 0);
  OpenState = records_.empty() ? 0 : 1;
  return 1;
}

int CVPInfoExchange::RepositionAfterResultOpen() {
  if (!IsVideoAttached() || dll_.ConvertTime2Frame == nullptr || dll_.SetPositions == nullptr) return 0;
  for (const VideoFileRecord& r : records_) {
    if (AnalysisStartSeconds < r.startTime || AnalysisStartSeconds >= r.endTime) continue;
    const double end = AnalysisEndSeconds > AnalysisStartSeconds && AnalysisEndSeconds < r.endTime ? AnalysisEndSeconds
                                                                                                  : r.endTime;
    std::int64_t first = 0;
    std::int64_t last = 0;
    if (dll_.ConvertTime2Frame(AnalysisStartSeconds - r.startTime, &first, 0) == 0 ||
        dll_.ConvertTime2Frame(end - r.startTime, &last, 0) == 0)
      return 0;
    return dll_.SetPositions(&first, &last, 0) != 0 ? 1 : 0;
  }
  return 0;
}

std::string CVPInfoExchange::RangeFilePathFor(const std::string& recordingPath) {
  const std::string folder = sys::FolderOf(recordingPath);
  std::string name = recordingPath.substr(folder.empty() ? 0 : folder.size() + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  const std::string setFolder = (folder.empty() ? std::string{} : folder + "/") + name;
  return setFolder + "/" + name + ".hdr";
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
  if (!sys::WriteFileAtomic(path, EncodeRangeFile(setWord_, records_))) return 0;
  rangeFilePath_ = path;
  rangeFileWritten_ = 1;
  return 1;
}
