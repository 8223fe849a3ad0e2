// Pictures of the auto-play list with its two sub-dialogs and of "Edit video files" with its
// "Range setting", on the sample night with a two-file video set, in English and Japanese.
#include <cstdio>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/video/lyr_dlg_video_auto_play.h"
#include "app/video/lyr_dlg_video_edit_file.h"
#include "app/video/lyr_dlg_video_owner.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "shots.h"

namespace {

bool Png(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

std::string Name(const ShotContext& c, const char* base, bool japanese) {
  return c.out + "/" + base + (japanese ? "_ja" : "") + ".png";
}

VideoFileRecord File(double start, double end, const std::string& name) {
  VideoFileRecord r;
  r.startTime = start;
  r.endTime = end;
  r.name = name;
  r.ranges = {{0.0, end - start}};
  return r;
}

bool DialogShots(ShotContext& c, LyrVideoDialogs& d, bool japanese) {
  using List = LyrWorkspaceDlgVideoAutoPlay;
  bool ok = true;
  d.OpenAutoPlay();
  List* list = d.AutoPlay();
  if (list == nullptr) return false;
  list->Item(List::kList).SetSelected(1, true);
  list->UpdateEntryButtons();
  ok = Png(*list, Name(c, "video_auto_play", japanese)) && ok;
  list->ClickButton(List::kEditRange);
  if (d.AutoPlayRange() != nullptr) {
    ok = Png(*d.AutoPlayRange(), Name(c, "video_auto_play_entry", japanese)) && ok;
    d.AutoPlayRange()->ClickButton(2);
  } else {
    ok = false;
  }
  testhooks::ProcessMessages();
  list->Item(List::kList).SetSelected(1, true);
  list->ClickButton(List::kEditPath);
  if (d.EditPath() != nullptr) {
    ok = Png(*d.EditPath(), Name(c, "video_auto_play_path", japanese)) && ok;
    d.EditPath()->ClickButton(2);
  } else {
    ok = false;
  }
  testhooks::ProcessMessages();
  d.CloseAll();

  d.OpenEditFile(RangeEditMode::Delete);
  CVPDlgEditFile* edit = d.EditFile();
  if (edit == nullptr) return false;
  edit->AddRangeInfo(600.0, 1200.0);
  edit->AddRangeInfo(3600.0, 3900.0);
  edit->RebuildList();
  edit->ComeBack();
  ok = Png(*edit, Name(c, "video_edit_file", japanese)) && ok;
  edit->ClickButton(CVPDlgEditFile::kAdd);
  if (d.Range() != nullptr) {
    ok = Png(*d.Range(), Name(c, "video_range", japanese)) && ok;
  } else {
    ok = false;
  }
  d.CloseAll();
  testhooks::ProcessMessages();
  return ok;
}

bool VideoDialogShots(ShotContext& c) {
  LyrWorkspaceDummyView* ws = c.frame.WorkspaceView();
  if (ws == nullptr) return false;
  CVPInfoExchange& video = ws->Video;
  // A set of two files over the first two hours, and two stretches of the list.
  const std::vector<VideoFileRecord> records = video.Records();
  const std::vector<AutoPlayEntry> entries = video.AutoPlayEntries;
  const std::string rangeFile = video.RangeFilePath();
  const double start = video.AnalysisStartSeconds;
  const double end = video.AnalysisEndSeconds;
  video.SetRangeFilePath(CVPInfoExchange::RangeFilePathFor(c.recording));
  video.SetRecords({File(0, 3600, "night/camera1.mpg"), File(3600, 7200, "night/camera2.mpg")});
  video.AnalysisStartSeconds = 0.0;
  video.AnalysisEndSeconds = 7200.0;
  const std::string raw = RecordingRawPathOf(video.RangeFilePath());
  AutoPlayEntry e;
  e.rawPath = raw;
  e.resultPath = c.doc.ResultPath;
  e.startTime = 1800.0;
  e.endTime = 1860.0;
  e.comment = "Arousal after REM";
  e.splitKind = 1;
  e.splitColumn = 1;
  const auto& s = c.doc.RecordInfo.startDateTime;
  e.recordingStart = {s[0], s[1], 0, s[2], s[3], s[4], s[5], s[6]};
  AutoPlayEntry f = e;
  f.startTime = 5400.0;
  f.endTime = 5520.0;
  f.comment = "Body movement";
  f.splitKind = 2;
  f.splitColumn = 0;
  f.splitRow = 2;
  video.AutoPlayEntries = {e, f};

  bool ok = true;
  for (const bool japanese : {false, true}) {
    res::SetLanguage(japanese ? res::Language::Japanese : res::Language::English);
    ok = DialogShots(c, ws->VideoDialogs, japanese) && ok;
  }
  res::SetLanguage(res::Language::English);
  video.SetRecords(records);
  video.AutoPlayEntries = entries;
  video.SetRangeFilePath(rangeFile);
  video.AnalysisStartSeconds = start;
  video.AnalysisEndSeconds = end;
  return ok;
}

ShotRegistrar reg("video_dialogs", VideoDialogShots);

}  // namespace
