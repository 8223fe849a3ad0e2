#include "app/video/lyr_dlg_video_auto_play.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/video/lyr_dlg_video_owner.h"
#include "app/video/video_range_edit.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/system/file_system.h"
#include "platform/system/program_folder.h"
#include "platform/system/shell.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kIdsNo = 64901;
constexpr std::uint32_t kIdsRawPath = 64902;
constexpr std::uint32_t kIdsResultPath = 64903;
constexpr std::uint32_t kIdsStartTime = 64904;
constexpr std::uint32_t kIdsEndTime = 64905;
constexpr std::uint32_t kIdsComment = 64906;
constexpr std::uint32_t kIdsDisplayArea = 64907;
constexpr std::uint32_t kIdsOutputComplete = 64914;
constexpr std::uint32_t kIdsListHeader = 64915;
constexpr std::uint32_t kIdsCaptionAdd = 64916;
constexpr std::uint32_t kIdsCaptionEditRange = 64917;
constexpr std::uint32_t kIdsTextFilter = 64921;
constexpr std::uint32_t kIdsRawFilter = 64922;
constexpr std::uint32_t kIdsResultFilter = 64923;
constexpr std::uint32_t kIdsShortcutProduct = 64935;
constexpr std::uint32_t kIdsShortcutName = 64936;
constexpr std::uint32_t kIdsSaveError = 2371;

std::int64_t Trunc(double v) { return static_cast<std::int64_t>(std::trunc(v)); }

void Warn(std::uint32_t id) { ui::MessageBox(res::LoadString(id), ui::MB_OK | ui::MB_ICONEXCLAMATION); }
void Inform(std::uint32_t id) { ui::MessageBox(res::LoadString(id), ui::MB_OK | ui::MB_ICONINFORMATION); }
void ShowFailure(const char* where) { ui::MessageBox(where, ui::MB_OK | ui::MB_ICONEXCLAMATION); }

ui::DateTime TimeOfDay(std::int64_t secondOfDay) {
  ui::DateTime t;
  t.hour = static_cast<int>(secondOfDay / 3600);
  t.minute = static_cast<int>(secondOfDay % 3600 / 60);
  t.second = static_cast<int>(secondOfDay % 60);
  return t;
}

std::int64_t SecondOfDay(const ui::DateTime& t) { return t.hour * 3600LL + t.minute * 60LL + t.second; }

}  // namespace

// ---- Day lists and time pickers ------------------------------------------------------------

void VideoStartEndControls::Fill() {
  const std::vector<std::string> items = scale_.DayItems();
  for (int id : {kStartDay, kEndDay}) {
    ui::Control list = dlg_.Item(id);
    list.ResetContent();
    for (const std::string& item : items) list.AddString(item);
  }
}

void VideoStartEndControls::SetLimits(bool start, int item) {
  const DayTimeLimits limits = scale_.PickerLimits(item, dlg_.Item(start ? kStartDay : kEndDay).GetCount());
  dlg_.Item(start ? kStartTime : kEndTime).SetRange(static_cast<int>(limits.from), static_cast<int>(limits.to));
}

void VideoStartEndControls::Put(bool start, std::int64_t t) {
  ui::Control day = dlg_.Item(start ? kStartDay : kEndDay);
  const VideoDayScale::DayAndTime v = scale_.Put(t);
  const int item = std::clamp(v.item, 0, std::max(day.GetCount() - 1, 0));
  day.SetCurSel(item);
  ui::Control picker = dlg_.Item(start ? kStartTime : kEndTime);
  // Opened wide first: the new time must not be clamped to the old day's limits.
  picker.SetRange(0, static_cast<int>(kSecondsPerDay - 1));
  picker.SetDateTime(TimeOfDay(v.secondOfDay));
  SetLimits(start, item);
}

void VideoStartEndControls::PutVideoTime(bool start, double time, double origin) {
  Put(start, std::clamp<std::int64_t>(Trunc(time - origin), 0, std::max<std::int64_t>(scale_.length, 0)));
}

double VideoStartEndControls::Read(bool start) const {
  const int item = std::max(dlg_.Item(start ? kStartDay : kEndDay).GetCurSel(), 0);
  return scale_.Read(item, SecondOfDay(dlg_.Item(start ? kStartTime : kEndTime).GetDateTime()));
}

void VideoStartEndControls::DayChanged(bool start) {
  const int item = std::max(dlg_.Item(start ? kStartDay : kEndDay).GetCurSel(), 0);
  ui::Control picker = dlg_.Item(start ? kStartTime : kEndTime);
  picker.SetRange(0, static_cast<int>(kSecondsPerDay - 1));
  const DayTimeLimits limits = scale_.PickerLimits(item, dlg_.Item(start ? kStartDay : kEndDay).GetCount());
  picker.SetDateTime(TimeOfDay(limits.from));
  SetLimits(start, item);
}

// ---- The list ------------------------------------------------------------------------------

LyrWorkspaceDlgVideoAutoPlay::LyrWorkspaceDlgVideoAutoPlay(LyrVideoDialogs& owner)
    : ui::Dialog(kTemplateId), owner_(owner) {
  MapCommand(kAdd, [this] { OnAdd(); });
  MapCommand(kDelete, [this] { OnDelete(); });
  MapCommand(kEditRange, [this] { OnEditRange(); });
  MapCommand(kEditPath, [this] { OnEditPath(); });
  MapCommand(kPreview, [this] { OnPreview(); });
  MapCommand(kTextOutput, [this] { OnBOutput(); });
  MapCommand(kShortcut, [this] { OnShortcut(); });
  MapNotify(kList, ui::NM_CLICK, [this] { UpdateEntryButtons(); });
  MapNotify(kList, ui::LVN_ITEMCHANGED, [this] { UpdateEntryButtons(); });
}

std::vector<AutoPlayEntry>& LyrWorkspaceDlgVideoAutoPlay::Entries() const { return owner_.Video->AutoPlayEntries; }

bool LyrWorkspaceDlgVideoAutoPlay::OnInitDialog() {
  backup_ = Entries();
  Selected = -1;
  ui::Control list = Item(kList);
  list.SetFullRowSelect(true);
  list.SetMultiSelect(true);
  const int width = list.GetClientRect().right;
  const std::uint32_t titles[] = {kIdsNo, kIdsRawPath, kIdsResultPath, kIdsStartTime, kIdsEndTime, kIdsComment,
                                  kIdsDisplayArea};
  const double shares[] = {0.05, 0.2, 0.2, 0.15, 0.15, 0.15, 0.1};
  for (int c = 0; c < 7; ++c) list.InsertColumn(c, res::LoadString(titles[c]), static_cast<int>(width * shares[c]));
  RefreshList();
  EnableItem(kAdd, Entries().size() <= kMaxEntries);
  for (int id : {kDelete, kEditRange, kEditPath, kPreview}) EnableItem(id, false);
  if (Entries().empty()) {
    EnableItem(kTextOutput, false);
    EnableItem(kShortcut, false);
  }
  return true;
}

void LyrWorkspaceDlgVideoAutoPlay::RefreshList() {
  ui::Control list = Item(kList);
  list.SetRedraw(false);
  list.DeleteAllItems();
  const std::vector<AutoPlayEntry>& entries = Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const AutoPlayEntry& e = entries[i];
    const int n = static_cast<int>(i);
    char number[16];
    std::snprintf(number, sizeof number, "%3d", n + 1);
    const int row = list.InsertItem(-1, number);
    list.SetItemText(row, 1, e.rawPath);
    list.SetItemText(row, 2, e.resultPath);
    list.SetItemText(row, 3, FormatEntryTime(n, e.startTime));
    list.SetItemText(row, 4, FormatEntryTime(n, e.endTime));
    list.SetItemText(row, 5, e.comment);
    list.SetItemText(row, 6, FormatDisplayArea(e.splitKind, e.splitColumn, e.splitRow));
  }
  list.SetRedraw(true);
}

std::string LyrWorkspaceDlgVideoAutoPlay::FormatEntryTime(int entry, double t) const {
  const std::vector<AutoPlayEntry>& entries = Entries();
  if (entry < 0 || entry >= static_cast<int>(entries.size())) return {};
  const AutoPlayEntry& e = entries[static_cast<std::size_t>(entry)];
  const auto& s = e.recordingStart;
  const CalendarTime start{s[0], s[1], s[3], s[4], s[5], s[6]};
  return VideoClockText(ClockTimeDisplay == 1, start, e.recordingOffset, t);
}

std::string LyrWorkspaceDlgVideoAutoPlay::FormatDisplayArea(std::uint16_t kind, std::uint16_t column,
                                                            std::uint16_t row) {
  return DisplayAreaText(kind, column, row);
}

void LyrWorkspaceDlgVideoAutoPlay::AppendRangeInfo(double start, double end, const std::string& comment,
                                                   std::uint16_t kind, std::uint16_t column, std::uint16_t row) {
  AutoPlayEntry e;
  e.rawPath = owner_.RecordingRawPath();
  if (owner_.Doc != nullptr) e.resultPath = owner_.Doc->ResultPath;
  e.startTime = start;
  e.endTime = end;
  e.comment = comment;
  e.splitKind = kind;
  e.splitColumn = column;
  e.splitRow = row;
  if (owner_.Doc != nullptr) {
    const auto& s = owner_.Doc->RecordInfo.startDateTime;
    const std::int64_t days = DaysFromCivil(s[0], s[1], s[2]);
    const auto weekDay = static_cast<std::uint16_t>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    e.recordingStart = {s[0], s[1], weekDay, s[2], s[3], s[4], s[5], s[6]};
  }
  e.recordingOffset = owner_.Video->AnalysisStartSeconds;
  Entries().push_back(std::move(e));
}

void LyrWorkspaceDlgVideoAutoPlay::EditRangeInfo(double start, double end, const std::string& comment,
                                                 std::uint16_t kind, std::uint16_t column, std::uint16_t row) {
  if (Selected < 0 || Selected >= static_cast<int>(Entries().size())) return;
  AutoPlayEntry& e = Entries()[static_cast<std::size_t>(Selected)];
  e.startTime = start;
  e.endTime = end;
  e.comment = comment;
  e.splitKind = kind;
  e.splitColumn = column;
  e.splitRow = row;
}

void LyrWorkspaceDlgVideoAutoPlay::EditPathInfo(const std::string& rawPath, const std::string& resultPath) {
  if (Selected < 0 || Selected >= static_cast<int>(Entries().size())) return;
  AutoPlayEntry& e = Entries()[static_cast<std::size_t>(Selected)];
  e.rawPath = rawPath;
  e.resultPath = resultPath;
}

void LyrWorkspaceDlgVideoAutoPlay::UpdateEntryButtons() {
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  const auto entryButtons = [this](bool on) {
    for (int id : {kEditRange, kEditPath, kPreview}) EnableItem(id, on);
  };
  if (rows.empty()) {
    entryButtons(false);
    return;
  }
  EnableItem(kDelete, true);
  if (rows.size() > 1 || rows.front() >= static_cast<int>(Entries().size())) {
    entryButtons(false);
    return;
  }
  const AutoPlayEntry& e = Entries()[static_cast<std::size_t>(rows.front())];
  // An entry of another recording is only listed here.
  if (e.rawPath != owner_.RecordingRawPath()) {
    entryButtons(false);
    return;
  }
  const std::string openResult = owner_.Doc != nullptr ? owner_.Doc->ResultPath : std::string{};
  if (e.resultPath == openResult) {
    entryButtons(true);
    return;
  }
  const bool editable = e.resultPath.empty() || openResult.empty();
  EnableItem(kEditRange, editable);
  EnableItem(kEditPath, editable);
  const double lo = owner_.Video->AnalysisStartSeconds;
  const double hi = owner_.Video->AnalysisEndSeconds;
  EnableItem(kPreview, lo <= e.startTime && e.startTime <= hi && lo <= e.endTime && e.endTime <= hi);
}

int LyrWorkspaceDlgVideoAutoPlay::LowestSelectedRow() const {
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  return rows.empty() ? -1 : *std::min_element(rows.begin(), rows.end());
}

void LyrWorkspaceDlgVideoAutoPlay::OnAdd() {
  ShowWindow(ui::SW_HIDE);
  const double length = owner_.Video->AnalysisEndSeconds - owner_.Video->AnalysisStartSeconds;
  LyrWorkspaceDlgVideoAutoPlayRange* dlg = owner_.OpenAutoPlayRange([length](LyrWorkspaceDlgVideoAutoPlayRange& d) {
    d.Mode = 0;
    d.Start = 0;
    d.End = static_cast<std::int32_t>(Trunc(length));
  });
  if (dlg != nullptr) dlg->SetWindowText(res::LoadString(kIdsCaptionAdd));
  Selected = -1;
}

void LyrWorkspaceDlgVideoAutoPlay::OnDelete() {
  const std::vector<int> rows = Item(kList).GetSelectedIndexes();
  std::vector<AutoPlayEntry>& entries = Entries();
  std::vector<AutoPlayEntry> kept;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (std::find(rows.begin(), rows.end(), static_cast<int>(i)) == rows.end()) kept.push_back(entries[i]);
  if (kept.size() != entries.size()) {
    entries = std::move(kept);
    RefreshList();
    for (int id : {kEditRange, kEditPath, kPreview, kDelete}) EnableItem(id, false);
  }
  if (entries.empty()) {
    for (int id : {kDelete, kTextOutput, kShortcut}) EnableItem(id, false);
  }
  if (entries.size() < kMaxEntries) EnableItem(kAdd, true);
}

void LyrWorkspaceDlgVideoAutoPlay::OnEditRange() {
  if (const int row = LowestSelectedRow(); row >= 0) Selected = row;
  if (Selected < 0 || Selected >= static_cast<int>(Entries().size())) return;
  const AutoPlayEntry e = Entries()[static_cast<std::size_t>(Selected)];
  const double origin = owner_.Video->AnalysisStartSeconds;
  ShowWindow(ui::SW_HIDE);
  LyrWorkspaceDlgVideoAutoPlayRange* dlg = owner_.OpenAutoPlayRange([&e, origin](LyrWorkspaceDlgVideoAutoPlayRange& d) {
    d.Mode = 1;
    d.Start = static_cast<std::int32_t>(Trunc(e.startTime - origin));
    d.End = static_cast<std::int32_t>(Trunc(e.endTime - origin));
    d.Comment = e.comment;
    d.SplitKind = e.splitKind;
    d.SplitColumn = e.splitColumn;
    d.SplitRow = e.splitRow;
  });
  if (dlg != nullptr) dlg->SetWindowText(res::LoadString(kIdsCaptionEditRange));
}

void LyrWorkspaceDlgVideoAutoPlay::OnEditPath() {
  if (const int row = LowestSelectedRow(); row >= 0) Selected = row;
  if (Selected < 0 || Selected >= static_cast<int>(Entries().size())) return;
  const AutoPlayEntry e = Entries()[static_cast<std::size_t>(Selected)];
  ShowWindow(ui::SW_HIDE);
  owner_.OpenEditPath([&e](LyrWorkspaceDlgVideoEditPath& d) {
    d.RawPath = e.rawPath;
    d.ResultPath = e.resultPath;
  });
  Item(kList).SetSelected(Selected, false);
}

void LyrWorkspaceDlgVideoAutoPlay::OnPreview() {
  if (const int row = LowestSelectedRow(); row >= 0) owner_.Video->ActiveAutoPlayEntry = static_cast<std::int16_t>(row);
  ShowWindow(ui::SW_HIDE);
  owner_.Video->PlayAutoPlayEntry();
  owner_.Video->AutoPlayRunning = 1;
}

void LyrWorkspaceDlgVideoAutoPlay::ComeBack(bool changed) {
  if (changed) RefreshList();
  ShowWindow(ui::SW_SHOW);
  ui::Control list = Item(kList);
  if (Selected >= 0 && Selected < list.GetCount()) {
    list.SetSelected(Selected, true);
    list.EnsureVisible(Selected);
  }
  list.SetFocus();
  UpdateEntryButtons();
}

std::string LyrWorkspaceDlgVideoAutoPlay::OutputText() const {
  const auto line = [](std::string& out, const std::string& text) { out += text + "\r\n"; };
  const auto field = [&line](std::string& out, std::uint32_t label, const std::string& value) {
    line(out, res::LoadString(label) + "\t" + value);
  };
  std::string out;
  line(out, res::LoadString(kIdsListHeader));
  const std::string program = sys::ProgramFilePath();
  const std::vector<AutoPlayEntry>& entries = Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const AutoPlayEntry& e = entries[i];
    const int n = static_cast<int>(i) + 1;
    char text[64];
    std::snprintf(text, sizeof text, "[No.%d]", n);
    line(out, text);
    std::snprintf(text, sizeof text, " /AutoPlay /%d", n);
    line(out, "\"" + program + "\"" + text);
    field(out, kIdsRawPath, e.rawPath);
    field(out, kIdsResultPath, e.resultPath);
    field(out, kIdsStartTime, FormatEntryTime(n - 1, e.startTime));
    field(out, kIdsEndTime, FormatEntryTime(n - 1, e.endTime));
    field(out, kIdsComment, e.comment);
    field(out, kIdsDisplayArea, FormatDisplayArea(e.splitKind, e.splitColumn, e.splitRow));
  }
  return out;
}

void LyrWorkspaceDlgVideoAutoPlay::OnBOutput() {
  ui::FileDialog dlg(false, "txt", {}, ui::OFN_OVERWRITEPROMPT | ui::OFN_HIDEREADONLY, res::LoadString(kIdsTextFilter),
                     this);
  dlg.SetInitialFolder(sys::FolderOf(owner_.Video->RangeFilePath()));
  if (dlg.DoModal() != ui::IDOK) return;
  bool written = false;
  try {
    ui::WaitCursor wait;
    // Written beside and moved into place: a failed write leaves an older file as it was.
    written = sys::WriteFileAtomic(dlg.GetPathName(), OutputText());
  } catch (const std::exception&) {
    ShowFailure("LyrWorkspaceDlgVideoAutoPlay::OnBOutput");
    return;
  }
  Inform(written ? kIdsOutputComplete : kIdsSaveError);
}

void LyrWorkspaceDlgVideoAutoPlay::OnShortcut() {
  bool allMade = true;
  {
    ui::WaitCursor wait;
    const std::string base = sys::DesktopFolder() + "/" + res::LoadString(kIdsShortcutProduct) +
                             res::LoadString(kIdsShortcutName);
    const std::string program = sys::ProgramFilePath();
    for (std::size_t n = 1; n <= Entries().size(); ++n) {
      const std::string link = base + std::to_string(n) + ".lnk";
      if (sys::CreateShellLink(link, program, "/AutoPlay /" + std::to_string(n)).empty()) allMade = false;
    }
  }
  if (allMade) {
    Inform(kIdsOutputComplete);
  } else {
    Warn(kIdsSaveError);
  }
}

void LyrWorkspaceDlgVideoAutoPlay::Finish() {
  backup_.clear();
  owner_.CloseAutoPlay();
  owner_.Repaint();
}

void LyrWorkspaceDlgVideoAutoPlay::OnOK() {
  // The list stays in memory either way; a file that could not be written is said so.
  if (!owner_.Video->WriteAutoPlayFile()) Warn(kIdsSaveError);
  Finish();
}

void LyrWorkspaceDlgVideoAutoPlay::OnCancel() {
  Entries() = backup_;
  if (!owner_.Video->WriteAutoPlayFile()) Warn(kIdsSaveError);
  Finish();
}

// ---- One stretch ---------------------------------------------------------------------------

LyrWorkspaceDlgVideoAutoPlayRange::LyrWorkspaceDlgVideoAutoPlayRange(LyrVideoDialogs& owner)
    : ui::Dialog(kTemplateId), owner_(owner), times_(*this, owner.DayScale()) {
  MapNotify(VideoStartEndControls::kStartDay, ui::CBN_SELCHANGE, [this] { times_.DayChanged(true); });
  MapNotify(VideoStartEndControls::kEndDay, ui::CBN_SELCHANGE, [this] { times_.DayChanged(false); });
  MapCommand(kStartCursor, [this] {
    owner_.BeginPick(kVideoPickStart, true);
    ShowWindow(ui::SW_HIDE);
    owner_.Repaint();
  });
  MapCommand(kEndCursor, [this] {
    owner_.BeginPick(kVideoPickEnd, true);
    ShowWindow(ui::SW_HIDE);
    owner_.Repaint();
  });
  // The parts sit in three groups: one choice among all fourteen.
  for (const SplitButton& b : kSplitButtons) {
    MapCommand(static_cast<std::uint32_t>(b.id), [this, id = b.id] {
      for (const SplitButton& other : kSplitButtons) CheckDlgButton(other.id, other.id == id ? 1 : 0);
    });
  }
}

bool LyrWorkspaceDlgVideoAutoPlayRange::OnInitDialog() {
  times_.Fill();
  times_.Put(true, Start);
  times_.Put(false, End);
  Item(kComment).SetLimitText(kCommentChars);
  SetDlgItemText(kComment, Comment);
  const int chosen = SplitButtonFor(SplitKind, SplitColumn, SplitRow);
  for (const SplitButton& b : kSplitButtons) CheckDlgButton(b.id, b.id == chosen ? 1 : 0);
  return true;
}

void LyrWorkspaceDlgVideoAutoPlayRange::SetStartFromCursor(double time) {
  times_.PutVideoTime(true, time, owner_.Video->AnalysisStartSeconds);
}

void LyrWorkspaceDlgVideoAutoPlayRange::SetEndFromCursor(double time) {
  times_.PutVideoTime(false, time, owner_.Video->AnalysisStartSeconds);
}

void LyrWorkspaceDlgVideoAutoPlayRange::OnOK() {
  Comment = GetDlgItemText(kComment);
  double start = times_.Read(true);
  double end = times_.Read(false);
  if (start > end) std::swap(start, end);
  if (const std::uint32_t refused = CheckAutoPlayStretch(owner_.Video->Records(), start, end); refused != 0) {
    Warn(refused);
    return;
  }
  SplitKind = 2;
  SplitColumn = 2;
  SplitRow = 2;
  for (const SplitButton& b : kSplitButtons) {
    if (IsDlgButtonChecked(b.id) == 1) {
      SplitKind = b.kind;
      SplitColumn = b.column;
      SplitRow = b.row;
      break;
    }
  }
  LyrWorkspaceDlgVideoAutoPlay* list = owner_.AutoPlay();
  if (list != nullptr) {
    if (Mode == 0) {
      list->AppendRangeInfo(start, end, Comment, SplitKind, SplitColumn, SplitRow);
      list->Selected = static_cast<int>(owner_.Video->AutoPlayEntries.size()) - 1;
    } else {
      list->EditRangeInfo(start, end, Comment, SplitKind, SplitColumn, SplitRow);
    }
    list->EnableItem(LyrWorkspaceDlgVideoAutoPlay::kTextOutput, true);
    list->EnableItem(LyrWorkspaceDlgVideoAutoPlay::kShortcut, true);
    list->EnableItem(LyrWorkspaceDlgVideoAutoPlay::kDelete, true);
    if (owner_.Video->AutoPlayEntries.size() > LyrWorkspaceDlgVideoAutoPlay::kMaxEntries)
      list->EnableItem(LyrWorkspaceDlgVideoAutoPlay::kAdd, false);
    list->ComeBack(true);
  }
  owner_.CloseAutoPlayRange();
  owner_.Repaint();
}

void LyrWorkspaceDlgVideoAutoPlayRange::OnCancel() {
  if (LyrWorkspaceDlgVideoAutoPlay* list = owner_.AutoPlay()) list->ShowWindow(ui::SW_SHOW);
  owner_.CloseAutoPlayRange();
  owner_.Repaint();
}

// ---- The two paths -------------------------------------------------------------------------

LyrWorkspaceDlgVideoEditPath::LyrWorkspaceDlgVideoEditPath(LyrVideoDialogs& owner)
    : ui::Dialog(kTemplateId), owner_(owner) {
  MapCommand(kRawBrowse, [this] { OnRawBrowse(); });
  MapCommand(kResultBrowse, [this] { OnResultBrowse(); });
}

bool LyrWorkspaceDlgVideoEditPath::OnInitDialog() {
  SetDlgItemText(kRawPath, RawPath);
  SetDlgItemText(kResultPath, ResultPath);
  return true;
}

void LyrWorkspaceDlgVideoEditPath::OnRawBrowse() {
  ui::FileDialog dlg(true, "fyd", {}, ui::OFN_FILEMUSTEXIST | ui::OFN_HIDEREADONLY, res::LoadString(kIdsRawFilter),
                     this);
  if (dlg.DoModal() != ui::IDOK) return;
  RawPath = sys::ReplaceExtension(dlg.GetPathName(), "fyd");
  SetDlgItemText(kRawPath, RawPath);
}

void LyrWorkspaceDlgVideoEditPath::OnResultBrowse() {
  ui::FileDialog dlg(true, "raf", {}, ui::OFN_FILEMUSTEXIST | ui::OFN_HIDEREADONLY,
                     res::LoadString(kIdsResultFilter), this);
  if (dlg.DoModal() != ui::IDOK) return;
  ResultPath = dlg.GetPathName();
  SetDlgItemText(kResultPath, ResultPath);
}

void LyrWorkspaceDlgVideoEditPath::OnOK() {
  if (LyrWorkspaceDlgVideoAutoPlay* list = owner_.AutoPlay()) {
    list->EditPathInfo(RawPath, ResultPath);
    list->ComeBack(true);
  }
  owner_.CloseEditPath();
  owner_.Repaint();
}

void LyrWorkspaceDlgVideoEditPath::OnCancel() {
  if (LyrWorkspaceDlgVideoAutoPlay* list = owner_.AutoPlay()) list->ComeBack(false);
  owner_.CloseEditPath();
  owner_.Repaint();
}
