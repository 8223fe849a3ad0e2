// The video window in the workspace's "Video" pane over a video set made for the night: two
// files 1.5 s apart, the picture whole and as the top-right of four split screens, and the gap
// between the files (blue).
#include <cstdio>
#include <filesystem>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/video/cvp_info_exchange.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/system/file_io.h"
#include "platform/testing/ui_testing.h"
#include "sample_video.h"
#include "shots.h"

namespace {

constexpr int kVideoPane = 12;

bool Shot(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

bool ShootVideoPlayer(ShotContext& c) {
  LyrWorkspaceDummyView* ws = c.frame.WorkspaceView();
  if (ws == nullptr) return false;
  namespace fs = std::filesystem;
  const std::string range = CVPInfoExchange::RangeFilePathFor(c.recording);
  const fs::path set = fs::path(range).parent_path();
  fs::create_directories(set);
  const double start = ws->VideoPane.RecordingStartOffset();
  std::vector<VideoFileRecord> records;
  for (int i = 0; i < 2; ++i) {
    SampleVideoSpec s;
    s.path = (set / ("camera" + std::to_string(i + 1) + ".mpg")).string();
    s.width = 320;
    s.height = 240;
    s.frames = 125;
    if (!WriteSampleVideo(s)) return false;
    const double at = start + i * 6.5;
    records.push_back({at, at + 5.0, set.filename().string() + "/" + fs::path(s.path).filename().string(), {{0.0, 5.0}}});
  }
  if (!sys::WriteFileAtomic(range, EncodeRangeFile(0, records))) return false;

  CVPInfoExchange& video = ws->Video;
  if (video.IsBound()) video.UnloadVideoDll();
  if (video.LoadVideoDll() == 0 || video.InitVideoDll() == 0) return false;
  ws->OpenVideoSet(c.recording);
  c.frame.WorkspaceTabs.SelectPane(kVideoPane);
  c.frame.WorkspaceTabs.ShowSelectedPane(kVideoPane);
  bool ok = true;
  video.ShowVideoAtTime(start + 2.0);
  ok &= Shot(*ws, c.out + "/video_player.png");
  c.doc.VideoSplit = {1, 1, 0};
  video.ShowVideoAtTime(start + 2.0);
  ok &= Shot(*ws, c.out + "/video_player_split.png");
  c.doc.VideoSplit = {0, 0, 0};
  video.ShowVideoAtTime(start + 5.8);
  ok &= Shot(*ws, c.out + "/video_player_gap.png");
  video.UnloadVideoDll();
  c.frame.WorkspaceTabs.SelectPane(0);
  c.frame.WorkspaceTabs.ShowSelectedPane(0);
  fs::remove_all(set);
  return ok;
}

const ShotRegistrar kVideoPlayer("video_player", ShootVideoPlayer);

}  // namespace
