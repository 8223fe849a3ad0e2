// The video window with its transport bar, clock line and location bar: docked in the
// workspace's "Video" pane, floating on its own, showing a quarter and a ninth of the picture;
// the red video mark on the wave page; the synchronisation and split-screen dialogs.
#include <cstdio>
#include <filesystem>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/video/cvp_info_exchange.h"
#include "app/video/lyr_workspace_dlg_video_split.h"
#include "app/video/lyr_workspace_dlg_video_sync.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
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

// A set of one 20 s file from the recording's start, with two kept ranges.
bool MakeSet(ShotContext& c, LyrWorkspaceDummyView& ws) {
  namespace fs = std::filesystem;
  const std::string range = CVPInfoExchange::RangeFilePathFor(c.recording);
  const fs::path set = fs::path(range).parent_path();
  fs::create_directories(set);
  const double start = ws.VideoPane.RecordingStartOffset();
  SampleVideoSpec s;
  s.path = (set / "camera1.mpg").string();
  s.width = 320;
  s.height = 240;
  s.frames = 500;
  if (!WriteSampleVideo(s)) return false;
  std::vector<VideoFileRecord> records{
      {start, start + 20.0, set.filename().string() + "/camera1.mpg", {{0.0, 8.0}, {11.0, 20.0}}}};
  return sys::WriteFileAtomic(range, EncodeRangeFile(0, records));
}

bool ShootVideoWindow(ShotContext& c) {
  LyrWorkspaceDummyView* ws = c.frame.WorkspaceView();
  if (ws == nullptr || !MakeSet(c, *ws)) return false;
  CVPInfoExchange& video = ws->Video;
  if (video.IsBound()) video.UnloadVideoDll();
  if (video.LoadVideoDll() == 0 || video.InitVideoDll() == 0) return false;
  ws->OpenVideoSet(c.recording);
  c.frame.WorkspaceTabs.SelectPane(kVideoPane);
  c.frame.WorkspaceTabs.ShowSelectedPane(kVideoPane);
  LyrWorkspaceVideoFrame& v = ws->VideoPane;
  const double start = video.AnalysisStartSeconds;
  bool ok = true;

  video.ShowVideoAtTime(start + 3.0);
  v.ShowTime(1);
  {
    const ui::Rect r = v.GetClientRect();
    std::printf("video frame %dx%d visible %d docked %d\n", r.Width(), r.Height(), v.IsWindowVisible() ? 1 : 0,
                v.IsDocked() ? 1 : 0);
  }
  ok &= Shot(*ws, c.out + "/video_window_docked.png");
  c.doc.VideoSplit = {1, 1, 0};
  v.RefreshSurface();
  video.ShowVideoAtTime(start + 3.5);
  ok &= Shot(*ws, c.out + "/video_window_split4.png");
  c.doc.VideoSplit = {2, 1, 2};
  v.RefreshSurface();
  video.ShowVideoAtTime(start + 4.0);
  ok &= Shot(*ws, c.out + "/video_window_split9.png");
  c.doc.VideoSplit = {0, 0, 0};

  v.FloatVideoWindow();
  v.MoveWindow({40, 40, 440, 420});
  video.ShowVideoAtTime(start + 12.0);
  v.ShowTime(1);
  ok &= Shot(v, c.out + "/video_window_floating.png");
  v.DockVideoWindow();

  // The red mark on the middle row's page, half-way through the page shown.
  if (LyrRawDummyView* raw = c.frame.RawView(); raw != nullptr && raw->Row(2) != nullptr) {
    LyrRawAreaView* view = raw->Row(2)->AreaView();
    c.frame.VideoFollowsWave = 0;
    ws->VideoSyncTime = static_cast<double>(c.doc.CurrentPage) * PageSeconds + PageSeconds / 2.0;
    testhooks::ProcessMessages();
    draw::Image img = testhooks::RenderWindow(*view);
    draw::Dc dc(img);
    ws->DrawVideoCursor(13, &dc);
    const std::string path = c.out + "/video_window_wave_mark.png";
    const bool saved = img.SavePng(path);
    std::printf("%s: %s\n", path.c_str(), saved ? "written" : "FAILED");
    ok &= saved;
    c.frame.VideoFollowsWave = 1;
  }

  auto* sync = new LyrWorkspaceDlgVideoSync(&c.doc, &c.frame);
  if (sync->CreateModeless(&c.frame)) {
    sync->ShowTime(3725.25);
    ok &= Shot(*sync, c.out + "/video_window_sync_dialog.png");
    sync->DestroyWindow();
  }
  delete sync;
  LyrWorkspaceDlgVideoSplit split(&c.frame);
  split.Kind = 2;
  split.Column = 1;
  split.Row = 2;
  if (split.CreateModeless(&c.frame)) {
    ok &= Shot(split, c.out + "/video_window_split_dialog.png");
    split.DestroyWindow();
  }

  video.UnloadVideoDll();
  c.frame.WorkspaceTabs.SelectPane(0);
  c.frame.WorkspaceTabs.ShowSelectedPane(0);
  std::filesystem::remove_all(std::filesystem::path(CVPInfoExchange::RangeFilePathFor(c.recording)).parent_path());
  return ok;
}

const ShotRegistrar kVideoWindow("video_window", ShootVideoWindow);

}  // namespace
