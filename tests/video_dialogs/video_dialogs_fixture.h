#pragma once
// A recording with a two-file video set, its controller and the owner of the video dialogs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/video/cvp_info_exchange.h"
#include "app/video/lyr_dlg_video_auto_play.h"
#include "app/video/lyr_dlg_video_edit_file.h"
#include "app/video/lyr_dlg_video_owner.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"

namespace videodlg {

inline VideoFileRecord File(double start, double end, std::vector<VideoRange> ranges, std::string name) {
  VideoFileRecord r;
  r.startTime = start;
  r.endTime = end;
  r.name = std::move(name);
  r.ranges = std::move(ranges);
  return r;
}

class VideoDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testhooks::Reset();
    res::SetLanguage(res::Language::English);
    ClockTimeDisplay = 0;
    VideoAttached = 0;
    RawPreviewMode = 0;
    doc_.RecordInfo.startDateTime = {2026, 1, 31, 22, 0, 0, 0};
    doc_.ResultPath = "/data/night.raf";
    // Files of 0-60 s and 65-100 s: 5 s apart.
    video_.AnalysisStartSeconds = 0.0;
    video_.AnalysisEndSeconds = 100.0;
    video_.SetRangeFilePath(folder_.Path() + "/night/night.hdr");
    video_.SetRecords({File(0, 60, {{0, 60}}, "night/a.mpg"), File(65, 100, {{0, 35}}, "night/b.mpg")});
    owner_.Doc = &doc_;
    owner_.Video = &video_;
    owner_.RepaintVideo = [this] { ++repaints_; };
  }
  void TearDown() override {
    owner_.CloseAll();
    ui::PumpPendingMessages();
    ClockTimeDisplay = 1;
    RawPreviewMode = 0;
    VideoAttached = 0;
  }
  std::string RawPath() const { return folder_.Path() + "/night.fyd"; }
  AutoPlayEntry Entry(double start, double end, std::string raw = {}) const {
    AutoPlayEntry e;
    e.rawPath = raw.empty() ? RawPath() : raw;
    e.resultPath = doc_.ResultPath;
    e.startTime = start;
    e.endTime = end;
    e.comment = "c";
    e.recordingStart = {2026, 1, 6, 31, 22, 0, 0, 0};
    return e;
  }
  std::vector<std::string> Boxes() const {
    std::vector<std::string> t;
    for (const auto& b : testhooks::ShownMessageBoxes()) t.push_back(b.text);
    return t;
  }
  // Sets a start or end control pair to a day item and a second of the day.
  static void SetTime(ui::Dialog& d, bool start, int item, int secondOfDay) {
    d.Item(start ? VideoStartEndControls::kStartDay : VideoStartEndControls::kEndDay).SetCurSel(item);
    ui::DateTime t;
    t.hour = secondOfDay / 3600;
    t.minute = secondOfDay % 3600 / 60;
    t.second = secondOfDay % 60;
    d.Item(start ? VideoStartEndControls::kStartTime : VideoStartEndControls::kEndTime).SetDateTime(t);
  }
  static int SecondOfDay(const ui::Dialog& d, int pickerId) {
    const ui::DateTime t = d.Item(pickerId).GetDateTime();
    return t.hour * 3600 + t.minute * 60 + t.second;
  }

  testhooks::TempProgramFolder folder_;
  CQLM2_AnalyzerDoc doc_;
  CVPInfoExchange video_;
  LyrVideoDialogs owner_;
  int repaints_ = 0;
};

}  // namespace videodlg
