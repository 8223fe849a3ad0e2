#include "app/video/lyr_dlg_video_edit_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/video/lyr_dlg_video_owner.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kIdsNo = 64901;
constexpr std::uint32_t kIdsStartTime = 64904;
constexpr std::uint32_t kIdsEndTime = 64905;
constexpr std::uint32_t kIdsSizeLine = 64930;
constexpr std::uint32_t kIdsSizeFailed = 64931;
constexpr std::uint32_t kIdsCaptionDelete = 64932;
constexpr std::uint32_t kIdsCaptionSave = 64933;
constexpr std::uint32_t kIdsDeleteRangeGroup = 64934;

void Warn(std::uint32_t id) { ui::MessageBox(res::LoadString(id), ui::MB_OK | ui::MB_ICONEXCLAMATION); }

}  // namespace

CVPDlgEditFile::CVPDlgEditFile(LyrVideoDialogs& owner, RangeEditMode mode)
    : ui::Dialog(kTemplateId), owner_(owner), mode_(mode) {
  MapCommand(kAdd, [this] { OnAdd(); });
  MapCommand(kRemove, [this] { OnRemove(); });
}

bool CVPDlgEditFile::OnInitDialog() {
  EnableItem(kRemove, false);
  ui::Control list = Item(kList);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  const int width = list.GetClientRect().right;
  list.InsertColumn(0, res::LoadString(kIdsNo), static_cast<int>(width * 0.1));
  list.InsertColumn(1, res::LoadString(kIdsStartTime), static_cast<int>(width * 0.45));
  list.InsertColumn(2, res::LoadString(kIdsEndTime), static_cast<int>(width * 0.45));
  if (mode_ == RangeEditMode::Delete) {
    SetDlgItemText(kRangeGroup, res::LoadString(kIdsDeleteRangeGroup));
    SetWindowText(res::LoadString(kIdsCaptionDelete));
  } else {
    SetWindowText(res::LoadString(kIdsCaptionSave));
  }
  UpdateTimeBar();
  ShowVideoFileSize(owner_.Video->Records());
  return true;
}

std::string CVPDlgEditFile::TimeText(double t) const {
  return VideoClockText(ClockTimeDisplay == 1, owner_.RecordingStart(), owner_.Video->AnalysisStartSeconds, t);
}

void CVPDlgEditFile::RebuildList() {
  ui::Control list = Item(kList);
  list.DeleteAllItems();
  for (std::size_t i = 0; i < ranges_.size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%3d", static_cast<int>(i) + 1);
    const int row = list.InsertItem(-1, number);
    list.SetItemText(row, 1, TimeText(ranges_[i].first));
    list.SetItemText(row, 2, TimeText(ranges_[i].second));
  }
}

void CVPDlgEditFile::UpdateTimeBar() const {
  if (owner_.ShowRangesOnTimeBar) owner_.ShowRangesOnTimeBar(&ranges_, static_cast<int>(mode_));
}

void CVPDlgEditFile::SetRangeInfo(std::vector<VideoFileRecord>& table, std::vector<VideoRange>& list) const {
  try {
    ::SetRangeInfo(mode_, table, list, owner_.Video->AnalysisStartSeconds, owner_.Video->AnalysisEndSeconds);
  } catch (const std::exception&) {
    ui::MessageBox("CVPDlgEditFile::SetRangeInfo", ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
}

int CVPDlgEditFile::AddRangeInfo(double start, double end) {
  RangeCheckContext c;
  c.mode = mode_;
  c.table = &owner_.Video->Records();
  c.list = &ranges_;
  c.autoPlay = &owner_.Video->AutoPlayEntries;
  c.recordingRawPath = owner_.RecordingRawPath();
  c.recordingStart = owner_.Video->AnalysisStartSeconds;
  c.recordingEnd = owner_.Video->AnalysisEndSeconds;
  if (const std::uint32_t refused = CheckNewRange(c, start, end); refused != 0) {
    Warn(refused);
    return 0;
  }
  ranges_.emplace_back(start, end);
  UpdateTimeBar();
  std::vector<VideoFileRecord> table = owner_.Video->Records();
  std::vector<VideoRange> list = ranges_;
  SetRangeInfo(table, list);
  ShowVideoFileSize(table);
  return 1;
}

void CVPDlgEditFile::ShowVideoFileSize(const std::vector<VideoFileRecord>& table) {
  try {
    const std::string& rangeFile = owner_.Video->RangeFilePath();
    const std::string now = VideoSizeText(VideoSetBytes(owner_.Video->Records(), rangeFile));
    const std::string after = VideoSizeText(VideoSetBytes(table, rangeFile));
    char text[256];
    std::snprintf(text, sizeof text, res::LoadString(kIdsSizeLine).c_str(), now.c_str(), after.c_str());
    SetDlgItemText(kSize, text);
  } catch (const std::exception&) {
    Warn(kIdsSizeFailed);
  }
}

void CVPDlgEditFile::OnAdd() {
  ShowWindow(ui::SW_HIDE);
  owner_.OpenRange();
}

void CVPDlgEditFile::ComeBack() {
  ShowWindow(ui::SW_SHOW);
  EnableItem(kRemove, !ranges_.empty());
  if (ranges_.size() > kMaxRanges) EnableItem(kAdd, false);
}

void CVPDlgEditFile::OnRemove() {
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  std::vector<VideoRange> kept;
  for (std::size_t i = 0; i < ranges_.size(); ++i)
    if (std::find(rows.begin(), rows.end(), static_cast<int>(i)) == rows.end()) kept.push_back(ranges_[i]);
  if (kept.size() != ranges_.size()) {
    // The rest goes through the checks again: each was checked against the ranges before it.
    ranges_.clear();
    for (const auto& [start, end] : kept) AddRangeInfo(start, end);
    RebuildList();
  }
  if (ranges_.empty()) {
    EnableItem(kRemove, false);
    ShowVideoFileSize(owner_.Video->Records());
  }
  if (ranges_.size() < kMaxRanges) EnableItem(kAdd, true);
  UpdateTimeBar();
}

void CVPDlgEditFile::OnOK() {
  if (!ranges_.empty()) {
    const int answer = ui::MessageBox(res::LoadString(kIdsConfirm),
                                      ui::MB_OKCANCEL | ui::MB_ICONEXCLAMATION | ui::MB_DEFBUTTON2);
    if (answer != ui::IDOK) return;
    SetRangeInfo(owner_.Video->EditRecords(), ranges_);
    UpdateTimeBar();
    // Only applied ranges are an edit of the set: closing the recording asks to save them.
    VideoAttached = 1;
  }
  owner_.CloseRange();
  if (owner_.ShowRangesOnTimeBar) owner_.ShowRangesOnTimeBar(nullptr, static_cast<int>(mode_));
  owner_.CloseEditFile();
  owner_.Repaint();
}

void CVPDlgEditFile::OnCancel() {
  owner_.CloseRange();
  if (owner_.ShowRangesOnTimeBar) owner_.ShowRangesOnTimeBar(nullptr, static_cast<int>(mode_));
  owner_.CloseEditFile();
  owner_.Repaint();
}

// ---- One range -----------------------------------------------------------------------------

LyrWorkspaceDlgVideoRange::LyrWorkspaceDlgVideoRange(LyrVideoDialogs& owner)
    : ui::Dialog(kTemplateId), owner_(owner), times_(*this, owner.DayScale()) {
  MapNotify(VideoStartEndControls::kStartDay, ui::CBN_SELCHANGE, [this] { times_.DayChanged(true); });
  MapNotify(VideoStartEndControls::kEndDay, ui::CBN_SELCHANGE, [this] { times_.DayChanged(false); });
  MapCommand(kStartCursor, [this] {
    owner_.BeginPick(kVideoPickStart, false);
    ShowWindow(ui::SW_HIDE);
    owner_.Repaint();
  });
  MapCommand(kEndCursor, [this] {
    owner_.BeginPick(kVideoPickEnd, false);
    ShowWindow(ui::SW_HIDE);
    owner_.Repaint();
  });
}

bool LyrWorkspaceDlgVideoRange::OnInitDialog() {
  times_.Fill();
  times_.Put(true, 0);
  times_.Put(false, times_.Scale().length);
  return true;
}

void LyrWorkspaceDlgVideoRange::SetStartFromCursor(double time) {
  times_.PutVideoTime(true, time, owner_.Video->AnalysisStartSeconds);
}

void LyrWorkspaceDlgVideoRange::SetEndFromCursor(double time) {
  times_.PutVideoTime(false, time, owner_.Video->AnalysisStartSeconds);
}

void LyrWorkspaceDlgVideoRange::OnOK() {
  double start = times_.Read(true);
  double end = times_.Read(false);
  if (start > end) std::swap(start, end);
  CVPDlgEditFile* edit = owner_.EditFile();
  if (edit == nullptr) {
    owner_.CloseRange();
    return;
  }
  if (edit->AddRangeInfo(start, end) == 0) return;
  edit->RebuildList();
  edit->ComeBack();
  owner_.CloseRange();
}

void LyrWorkspaceDlgVideoRange::OnCancel() {
  if (CVPDlgEditFile* edit = owner_.EditFile()) edit->ShowWindow(ui::SW_SHOW);
  owner_.CloseRange();
}
