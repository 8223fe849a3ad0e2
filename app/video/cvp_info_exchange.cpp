#include "app/video/cvp_info_exchange.h"

#include <algorithm>
#include <cmath>

#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/system/program_folder.h"
#include "platform/ui/message_box.h"
#include "platform/ui/window.h"

namespace {

constexpr std::uint32_t kIdsVideoInitFailed = 2470;
// Play ranges closer than this are played as one.
constexpr double kJoinGapSeconds = 2.0;
// At most this many frames back from beyond the recording's end.
constexpr int kMaxStepsBack = 100000;

std::string Slashed(std::string s) {
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

}  // namespace

CVPInfoExchange::~CVPInfoExchange() { UnloadVideoDll(); }

CVPHost& CVPInfoExchange::H() {
  static CVPHost none;
  return Host != nullptr ? *Host : none;
}

bool CVPInfoExchange::LibraryExists() { return sys::FileExists(sys::PathBesideProgram(kVideoPlayerLibraryName)); }

std::string CVPInfoExchange::AutoPlayFilePath() { return sys::PathBesideProgram("AutoPlay.inf"); }

// ---- Binding ---------------------------------------------------------------------------------

void CVPInfoExchange::BindByName() {
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
}

int CVPInfoExchange::LoadVideoDll() { return LoadVideoDllFrom(sys::PathBesideProgram(kVideoPlayerLibraryName)); }

int CVPInfoExchange::LoadVideoDllFrom(const std::string& path) {
  if (!library_.Load(path)) {
    ui::MessageBoxId(kIdsVideoInitFailed, ui::MB_OK);
    return 0;
  }
  bound_ = 1;
  BindByName();
  if (BindingChanged) BindingChanged(true);
  if (dll_.InitDShow) dll_.InitDShow(H().FrameWindowHandle(), 0);
  autoPlayRead_ = ReadAutoPlayFile();
  return 1;
}

void CVPInfoExchange::BindEntryPoints(const VideoPlayerEntryPoints& entryPoints) {
  dll_ = entryPoints;
  bound_ = 1;
}

void CVPInfoExchange::UnloadVideoDll() {
  if (!bound_) return;
  Stop();
  if (dll_.EndDShow) dll_.EndDShow(0);
  if (dll_.CloseDll) dll_.CloseDll(0);
  H().ClearVideoName();
  dll_ = VideoPlayerEntryPoints{};
  library_.Unload();
  bound_ = 0;
  OpenState = 0;
  CurrentFile = -1;
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

// ---- Auto-play list ----------------------------------------------------------------------------

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

void CVPInfoExchange::PlayAutoPlayEntry() {
  if (ActiveAutoPlayEntry < 0 || ActiveAutoPlayEntry >= static_cast<int>(AutoPlayEntries.size())) return;
  const AutoPlayEntry& e = AutoPlayEntries[static_cast<std::size_t>(ActiveAutoPlayEntry)];
  H().SetSplitWords({e.splitKind, e.splitColumn, e.splitRow});
  ShowVideoAtTime(e.startTime);
  H().RefreshSurface();
  H().SetPlayingFlag(false);
  H().TogglePlaying();
}

// ---- The set and its files ---------------------------------------------------------------------

std::string CVPInfoExchange::RangeFilePathFor(const std::string& recordingPath) {
  const std::string folder = sys::FolderOf(recordingPath);
  std::string name = recordingPath.substr(folder.empty() ? 0 : folder.size() + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  const std::string setFolder = (folder.empty() ? std::string{} : folder + "/") + name;
  return setFolder + "/" + name + ".hdr";
}

std::string CVPInfoExchange::ResolveRecordPath(const VideoFileRecord& r, const std::string& rangeFilePath) {
  const std::string name = Slashed(r.name);
  const bool full = (!name.empty() && name.front() == '/') ||
                    (r.name.find('\\') != std::string::npos && r.name.find(':') != std::string::npos);
  if (full) return name;
  // The folder that holds the set folder: the range file's path without its last two parts.
  const std::string holder = sys::FolderOf(sys::FolderOf(Slashed(rangeFilePath)));
  return (holder.empty() ? std::string{} : holder + "/") + name;
}

std::string CVPInfoExchange::ResolveRecordPath(const VideoFileRecord& r) const {
  return ResolveRecordPath(r, rangeFilePath_);
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

int CVPInfoExchange::LoadRangeFile() {
  const auto data = sys::ReadWholeFile(rangeFilePath_);
  if (!data) return 0;
  std::int16_t word = 0;
  std::vector<VideoFileRecord> read;
  records_.clear();
  if (!DecodeRangeFile(*data, word, read)) return 0;
  bool completed = false;
  for (std::size_t i = 0; i < read.size(); ++i) {
    VideoFileRecord& r = read[i];
    if (r.endTime >= 0.0) continue;
    if (!completed) H().BeginWait(static_cast<int>(read.size()));
    completed = true;
    double length = 0.0;
    const std::string path = ResolveRecordPath(r, rangeFilePath_);
    if (dll_.GetMPEGFileDurationTimeSec == nullptr || dll_.GetMPEGFileDurationTimeSec(path.c_str(), &length, 0) == 0)
      length = 0.0;
    r.endTime = r.startTime + length;
    for (auto& range : r.ranges) range.second = length;
    H().StepWait(static_cast<int>(i));
  }
  if (completed && read.size() > 1) TrimOverlappingFiles(read);
  if (completed) H().EndWait();
  setWord_ = word;
  records_ = std::move(read);
  // The measured lengths are kept: the file was read whole, so it is rewritten (beside and
  // renamed into place) with the names as read.
  if (completed) WriteRanges(records_, rangeFilePath_, false);
  return 1;
}

int CVPInfoExchange::FindVideoFileIndex(double t) const {
  const int n = static_cast<int>(records_.size());
  bool passed = false;
  for (int i = 0; i < n; ++i) {
    const VideoFileRecord& r = records_[static_cast<std::size_t>(i)];
    const bool last = i + 1 == n;
    const double nextStart = last ? 0.0 : records_[static_cast<std::size_t>(i) + 1].startTime;
    if (r.startTime <= t && t < r.endTime) {
      if (last || r.endTime < nextStart || t < nextStart) return i;
      continue;
    }
    if (t - r.endTime < 0.00001) {
      if (last || r.endTime < nextStart) {
        if (!passed) return i;
      } else {
        passed = true;
      }
    }
  }
  return -1;
}

int CVPInfoExchange::FindPlayRange(std::int16_t mode, double t, double& start, double& end) {
  if (records_.empty()) return 0;
  double lo = AnalysisStartSeconds;
  double hi = AnalysisEndSeconds;
  if (ActiveAutoPlayEntry >= 0 && ActiveAutoPlayEntry < static_cast<int>(AutoPlayEntries.size())) {
    lo = AutoPlayEntries[static_cast<std::size_t>(ActiveAutoPlayEntry)].startTime;
    hi = AutoPlayEntries[static_cast<std::size_t>(ActiveAutoPlayEntry)].endTime;
  }
  bool found = false;
  if (mode == 0 || mode == 1) {
    for (const VideoFileRecord& r : records_) {
      for (const auto& [b, e] : r.ranges) {
        const double s = r.startTime + b;
        const double f = r.startTime + e;
        if ((mode == 0 && s <= t && t < f) || (mode == 1 && s > t)) {
          start = s;
          end = f;
          found = true;
          break;
        }
      }
      if (found) break;
    }
  } else if (mode == 2) {
    for (auto r = records_.rbegin(); r != records_.rend() && !found; ++r) {
      for (auto g = r->ranges.rbegin(); g != r->ranges.rend(); ++g) {
        if (r->startTime + g->second < t) {
          start = r->startTime + g->first;
          end = r->startTime + g->second;
          found = true;
          break;
        }
      }
    }
    if (!found && !records_.front().ranges.empty()) {
      const VideoFileRecord& r = records_.front();
      const double s = r.startTime + r.ranges.front().first;
      const double f = r.startTime + r.ranges.front().second;
      if (s + GetFrameDuration() < t && t < f) {
        start = s;
        end = f;
        found = true;
      }
    }
  } else {
    return 0;
  }
  if (!found) return 0;
  // Clamped to the limits; a stretch wholly outside them is none.
  if ((start < lo && end < lo) || (hi < start && hi < end)) return 0;
  if (start < lo) start = lo;
  if (end > hi) end = hi;
  return 1;
}

int CVPInfoExchange::OpenFileAt(double t) {
  if (!bound_) return 0;
  const int i = FindVideoFileIndex(t);
  if (i < 0) return 0;
  CurrentFile = i;
  const std::string path = ResolveRecordPath(records_[static_cast<std::size_t>(i)]);
  if (!sys::FileExists(path) || dll_.SetPlayMPEGFile == nullptr) return 0;
  return dll_.SetPlayMPEGFile(path.c_str(), H().SurfaceWindowHandle(), 0);
}

std::int64_t CVPInfoExchange::FrameOf(double seconds) {
  std::int64_t f = 0;
  if (dll_.ConvertTime2Frame) dll_.ConvertTime2Frame(seconds, &f, 0);
  return f;
}

double CVPInfoExchange::TimeOf(std::int64_t frame) {
  double t = 0.0;
  if (dll_.ConvertFrame2Time) dll_.ConvertFrame2Time(frame, &t, 0);
  return t;
}

double CVPInfoExchange::GetFrameDuration() { return TimeOf(2) - TimeOf(1); }

int CVPInfoExchange::GetPlayerPosition(std::int64_t& frame, double& seconds) {
  std::int64_t stop = 0;
  frame = 0;
  if (dll_.GetPositions) dll_.GetPositions(&frame, &stop, 0);
  seconds = TimeOf(frame);
  return 1;
}

void CVPInfoExchange::ReopenPlayer() {
  if (dll_.EndDShow) dll_.EndDShow(0);
  if (dll_.InitDShow) dll_.InitDShow(H().FrameWindowHandle(), 0);
}

std::array<std::int32_t, 4> AppliedWindowRect(const std::array<std::int32_t, 4>& stored, int surfaceLeft,
                                              int surfaceTop, int screenWidth, int screenHeight) {
  std::int32_t left = stored[0];
  std::int32_t top = stored[1];
  const std::int32_t width = stored[2] - stored[0];
  const std::int32_t height = stored[3] - stored[1];
  if (left < 0 || left > screenWidth) left = 0;
  if (top < 0 || top > screenHeight) top = 0;
  left += surfaceLeft;
  top += surfaceTop;
  return {left, top, left + width, top + height};
}

std::array<std::int32_t, 4> KeepWindowRectOnScreen(const std::array<std::int32_t, 4>& r, int screenWidth,
                                                   int screenHeight) {
  std::array<std::int32_t, 4> out = r;
  if (r[2] > screenWidth && r[3] > screenHeight) {
    out[0] = r[0] - r[2] + screenWidth - 1;
    out[2] = screenWidth;
    out[1] = r[1] - r[3] + screenHeight - 1;
    out[3] = screenHeight;
  }
  return out;
}

int CVPInfoExchange::OpenVideo(int reload) {
  if (!bound_) return 0;
  H().SetWaitCursor(true);
  const bool stored = StoredWindowRect != std::array<std::int32_t, 4>{};
  const ui::Rect screen = ui::ScreenWorkArea();
  if (stored) {
    const std::array<int, 4> surface = H().SurfaceScreenRect();
    AppliedRect = AppliedWindowRect(StoredWindowRect, surface[0], surface[1], screen.right, screen.bottom);
  }
  AnalysisStartSeconds = H().RecordingStartOffset();
  AnalysisEndSeconds = AnalysisStartSeconds + H().RecordingSeconds();
  const std::string name = H().VideoName();
  if (!name.empty()) rangeFilePath_ = name;
  OpenState = 0;
  bool built = reload == 0 || LoadRangeFile() != 0;
  if (built) {
    ReopenPlayer();
    CurrentFile = 0;
    CurrentTime = 0.0;
    PlayMode = 0;
    if (dll_.SetVideoRate) dll_.SetVideoRate(RateCode, 0);
    double s = 0.0, e = 0.0;
    if (FindPlayRange(0, 0.0, s, e) == 0) {
      if (FindPlayRange(1, 0.0, s, e) != 0 || FindPlayRange(2, 0.0, s, e) != 0) CurrentTime = s;
    }
    built = OpenFileAt(CurrentTime) != 0;
  }
  if (built) {
    OpenState = 1;
    if (dll_.GetVideoWidth) dll_.GetVideoWidth(&PictureWidth, 0);
    if (dll_.GetVideoHeight) dll_.GetVideoHeight(&PictureHeight, 0);
    if (AppliedRect != std::array<std::int32_t, 4>{}) {
      AppliedRect = KeepWindowRectOnScreen(AppliedRect, screen.right, screen.bottom);
      H().PlaceSurface(AppliedRect);
    }
    SetVideoWindowPosition();
    if (dll_.VideoPause) dll_.VideoPause(0);
    if (dll_.GetCurrentBuffer) dll_.GetCurrentBuffer(0);
    H().RefreshSurface();
    H().UpdateLocationBar();
    SetPlayPositions(2);
    if (dll_.SetVideoRate) dll_.SetVideoRate(RateCode, 0);
    H().ShowSurfacePane();
    // An active auto-play entry is started once the set is open (by the workspace), not here:
    // the show at 0.0 below would stop it again and end the run.
    const bool showing = H().VideoShowing();
    H().SetVideoShowing(true);
    ShowVideoAtTime(0.0);
    H().SetVideoShowing(showing);
    H().RefreshPanes();
  }
  H().SetWaitCursor(false);
  return 1;
}

void CVPInfoExchange::NoPicture() {
  ShowVideo(0);
  H().ShowNoPicture();
}

void CVPInfoExchange::SetVideoWindowPosition() {
  if (!bound_) return;
  H().SetSurfaceRedraw(false);
  int w = 0, h = 0;
  H().SurfaceClientSize(w, h);
  const auto split = H().SplitWords();
  int x = 0, y = 0, width = w, height = h;
  if (split[0] == 1) {
    x = split[1] == 1 ? -w : 0;
    y = split[2] == 1 ? -h : 0;
    width = 2 * w;
    height = 2 * h;
  } else if (split[0] == 2) {
    x = -split[1] * 3 * (w / 3);
    y = -split[2] * 3 * (h / 3);
    width = 3 * w;
    height = 3 * h;
  }
  if (dll_.SetWindowPosition) dll_.SetWindowPosition(x, y, width, height, 0);
  H().SetSurfaceRedraw(true);
}

void CVPInfoExchange::ShowVideo(int show) {
  if (bound_ && dll_.VideoDisp) dll_.VideoDisp(show);
}

void CVPInfoExchange::PaintVideo(void* dcHandle) {
  if (!bound_ || dll_.VideoPaint == nullptr) return;
  const auto split = H().SplitWords();
  const std::uint16_t block[4] = {split[0], split[1], split[2], 0};
  dll_.VideoPaint(dcHandle, H().SurfaceWindowHandle(), block, 0);
}

int CVPInfoExchange::SetPlayPositions(int mode) {
  if (!bound_) return 0;
  double rs = 0.0, re = 0.0;
  if (CurrentFile < 0 || CurrentFile >= static_cast<int>(records_.size()) || FindPlayRange(0, CurrentTime, rs, re) == 0) {
    NoPicture();
    H().RefreshPanes();
    return 0;
  }
  const double fd = GetFrameDuration();
  const double sp = 1.0 / std::max(H().HighestSamplingRate(), 1e-9);
  const VideoFileRecord& F = records_[static_cast<std::size_t>(CurrentFile)];
  double E = re;
  if (ActiveAutoPlayEntry >= 0 && ActiveAutoPlayEntry < static_cast<int>(AutoPlayEntries.size()))
    E = AutoPlayEntries[static_cast<std::size_t>(ActiveAutoPlayEntry)].endTime;
  const std::int64_t startFrame = FrameOf(CurrentTime - F.startTime + fd - sp);
  const std::int64_t stopFrame = FrameOf(E - F.startTime);
  if (mode == 2) {
    if (dll_.SetOneShot) dll_.SetOneShot(0, 0);
    if (dll_.SetPositions) dll_.SetPositions(&startFrame, &stopFrame, 0);
    H().RefreshPanes();
    return 1;
  }
  // Opens the record that shows a time and holds frame g there.
  auto jumpTo = [&](double time, std::int64_t offsetA, std::int64_t offsetB, std::int64_t shownOffset) {
    ReopenPlayer();
    CurrentTime = time;
    if (OpenFileAt(time) == 0) {
      NoPicture();
      return;
    }
    H().RefreshSurface();
    const VideoFileRecord& G = records_[static_cast<std::size_t>(CurrentFile)];
    const std::int64_t g = FrameOf(time - G.startTime + fd - sp);
    const std::int64_t a = g + offsetA, b = g + offsetB;
    if (dll_.SetPositions) dll_.SetPositions(&a, &b, 0);
    if (dll_.VideoPause) dll_.VideoPause(0);
    CurrentTime = G.startTime + TimeOf(g + shownOffset);
  };
  if (mode == 0) {
    const std::int64_t c = startFrame;
    if (c < stopFrame - 1) {
      if (dll_.SetPositions) dll_.SetPositions(&c, &stopFrame, 0);
      if (dll_.VideoPause) dll_.VideoPause(0);
    } else {
      double ns = 0.0, ne = 0.0;
      if (FindPlayRange(1, CurrentTime, ns, ne) != 0 && ns - CurrentTime < kJoinGapSeconds) {
        jumpTo(ns, 0, 1, 0);
      } else {
        NoPicture();
      }
    }
  } else {
    const std::int64_t c = startFrame - 2;
    if (c >= FrameOf(rs - F.startTime)) {
      if (dll_.SetPositions) dll_.SetPositions(&c, &stopFrame, 0);
      if (dll_.VideoPause) dll_.VideoPause(0);
    } else {
      double ps = 0.0, pe = 0.0;
      if (FindPlayRange(2, CurrentTime, ps, pe) != 0 && CurrentTime - pe < kJoinGapSeconds) {
        jumpTo(pe, -2, -1, -2);
      } else {
        NoPicture();
      }
    }
  }
  if (dll_.GetCurrentBuffer) dll_.GetCurrentBuffer(0);
  H().RefreshPanes();
  return 1;
}

bool CVPInfoExchange::UpdateTimeFromPlayer() {
  double rs = 0.0, re = 0.0;
  if (!bound_ || CurrentFile < 0 || CurrentFile >= static_cast<int>(records_.size()) ||
      FindPlayRange(0, CurrentTime, rs, re) == 0)
    return false;
  std::int64_t current = 0, stop = 0;
  if (dll_.GetPositions) dll_.GetPositions(&current, &stop, 0);
  if (current != stop) current += 1;
  const double fileStart = records_[static_cast<std::size_t>(CurrentFile)].startTime;
  CurrentTime = fileStart + TimeOf(current);
  // Never beyond the recording's end: back frame by frame (bounded by the file's start).
  for (int n = 0; CurrentTime >= AnalysisEndSeconds && current > 0 && n < kMaxStepsBack; ++n) {
    --current;
    CurrentTime = fileStart + TimeOf(current);
  }
  return true;
}

void CVPInfoExchange::ShowVideoAtTime(double t) {
  if (!bound_) return;
  CurrentTime = t;
  if (!H().VideoShowing()) return;
  ShowVideo(1);
  if (H().IsPlaying()) H().TogglePlaying();
  const int i = FindVideoFileIndex(t);
  if (i < 0) {
    NoPicture();
  } else {
    H().SetSurfaceRedraw(false);
    bool open = true;
    if (i != CurrentFile) {
      ReopenPlayer();
      if (OpenFileAt(t) == 0) {
        NoPicture();
        open = false;
      } else {
        H().RefreshSurface();
        PlayMode = 5;
        SetPlayPositions(0);
        UpdateTimeFromPlayer();
        CurrentTime = t;
      }
    }
    double rs = 0.0, re = 0.0;
    if (open && FindPlayRange(0, t, rs, re) == 0) {
      NoPicture();
    } else if (open) {
      const VideoFileRecord& F = records_[static_cast<std::size_t>(CurrentFile)];
      const std::int64_t f = FrameOf(t - F.startTime);
      const std::int64_t g = f + 1;
      if (dll_.SetPositions) dll_.SetPositions(&f, &g, 0);
      if (dll_.VideoPause) dll_.VideoPause(0);
      if (dll_.StepFrame) dll_.StepFrame(1, 0);
      CurrentTime += GetFrameDuration();
      SetVideoWindowPosition();
      H().ShowSurfacePane();
      if (dll_.GetCurrentBuffer) dll_.GetCurrentBuffer(0);
    }
    H().SetSurfaceRedraw(true);
    H().RefreshSurface();
  }
  H().UpdateLocationBar();
  H().RefreshPanes();
}

int CVPInfoExchange::RepositionAfterResultOpen() {
  if (!IsVideoAttached()) return 0;
  CurrentTime = AnalysisStartSeconds;
  double s = 0.0, e = 0.0;
  int shown = 0;
  if (FindPlayRange(0, CurrentTime, s, e) != 0) {
    ShowVideoAtTime(CurrentTime);
    shown = 1;
  } else if (FindPlayRange(1, CurrentTime, s, e) != 0) {
    ShowVideoAtTime(s);
    shown = 1;
  }
  H().RefreshSurface();
  H().UpdateLocationBar();
  H().ShowTime(0);
  return shown;
}

void CVPInfoExchange::Play() {
  if (!bound_) return;
  ShowVideo(1);
  ReopenPlayer();
  OpenFileAt(CurrentTime);
  H().SetSurfaceRedraw(false);
  H().RefreshSurface();
  PlayMode = 1;
  SetPlayPositions(2);
  if (dll_.SetVideoRate) dll_.SetVideoRate(RateCode, 0);
  if (dll_.VideoRun) dll_.VideoRun(0);
}

void CVPInfoExchange::Stop() {
  if (!bound_) return;
  PlayMode = 0;
  if (dll_.VideoStop) dll_.VideoStop(0);
  if (dll_.GetCurrentBuffer) dll_.GetCurrentBuffer(0);
  if (AutoPlayRunning != 0 && ActiveAutoPlayEntry >= 0 &&
      ActiveAutoPlayEntry < static_cast<int>(AutoPlayEntries.size())) {
    const AutoPlayEntry& e = AutoPlayEntries[static_cast<std::size_t>(ActiveAutoPlayEntry)];
    if (CurrentTime >= e.endTime || Continuing == 0) {
      const int entry = ActiveAutoPlayEntry;
      ActiveAutoPlayEntry = -1;
      AutoPlayRunning = 0;
      H().ShowAutoPlayDialog(entry);
    }
  }
  H().SetSurfaceRedraw(true);
  H().RefreshSurface();
  H().UpdateLocationBar();
}

void CVPInfoExchange::SyncWave(double seconds) {
  if (!H().VideoSynchronised()) return;
  H().SetVideoSynchronised(false);
  H().SyncWaveToVideo(seconds);
  H().SetVideoSynchronised(true);
}

void CVPInfoExchange::StepFrame(std::int16_t direction) {
  if (!bound_) return;
  ShowVideo(1);
  PlayMode = 5;
  SetPlayPositions(direction == 5 ? 0 : 1);
  SetVideoWindowPosition();
  const double fd = GetFrameDuration();
  const double e = std::max(CurrentTime - AnalysisStartSeconds, 0.0);
  SyncWave(e - fd);
  H().ShowTime(1);
  H().UpdateLocationBar();
  H().RefreshPanes();
  CurrentTime += direction == 5 ? fd : -fd;
}

void CVPInfoExchange::OnPlayTimer() {
  if (!bound_ || !UpdateTimeFromPlayer()) return;
  SyncWave(std::max(CurrentTime - AnalysisStartSeconds, 0.0));
  H().UpdateLocationBar();
  H().ShowTime(0);
}

void CVPInfoExchange::OnPlayerNotify(std::uint32_t message) {
  if (!bound_ || dll_.CheckNotify == nullptr || dll_.GetEvent == nullptr || dll_.CheckNotify(message) == 0) return;
  long code = 0;
  std::intptr_t p1 = 0, p2 = 0;
  while (dll_.GetEvent(&code, &p1, &p2, 0) != 0) {
    if (dll_.FreeEvent) dll_.FreeEvent(code, p1, p2, 0);
    const std::uint16_t kind = dll_.CheckEventCode ? dll_.CheckEventCode(code) : 0xFFFF;
    if (kind == 0) {
      if (dll_.GetCurrentBuffer) dll_.GetCurrentBuffer(0);
      H().RefreshSurface();
      const bool playing = PlayMode >= 1 && PlayMode <= 3;
      if (playing && CurrentFile >= 0 && CurrentFile < static_cast<int>(records_.size())) {
        UpdateTimeFromPlayer();
        double ns = 0.0, ne = 0.0;
        if (FindPlayRange(1, CurrentTime, ns, ne) != 0) {
          if (ns - CurrentTime < kJoinGapSeconds) {
            Continuing = 1;
            H().TogglePlaying();
            Continuing = 0;
            ReopenPlayer();
            CurrentTime = ns;
            OpenFileAt(ns);
            H().RefreshSurface();
            if (dll_.SetVideoRate) dll_.SetVideoRate(RateCode, 0);
            H().TogglePlaying();
          } else {
            H().TogglePlaying();
          }
        } else {
          H().TogglePlaying();
          const int entry = ActiveAutoPlayEntry;
          ActiveAutoPlayEntry = -1;
          if (AutoPlayRunning != 0) {
            AutoPlayRunning = 0;
            H().ShowAutoPlayDialog(entry);
          }
        }
      } else if (playing) {
        H().TogglePlaying();
        ActiveAutoPlayEntry = -1;
        AutoPlayRunning = 0;
      } else {
        H().TogglePlaying();
      }
    } else if (kind == 1) {
      H().TogglePlaying();
    }
    H().UpdateLocationBar();
  }
}
