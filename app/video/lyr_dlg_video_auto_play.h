#pragma once
// The auto-play list dialog ("Auto play information"), the dialog of one stretch of it (start,
// end, comment and the part of the picture) and the dialog of its two file paths. The list
// dialog edits the controller's list in place and puts back the list it found on Cancel.
#include <cstdint>
#include <string>
#include <vector>

#include "app/video/cvp_info_exchange.h"
#include "app/video/video_dialog_times.h"
#include "platform/ui/dialog.h"

class LyrVideoDialogs;

// The start and end day lists and time pickers that the range dialogs share.
class VideoStartEndControls {
 public:
  static constexpr int kStartDay = 1559;
  static constexpr int kStartTime = 1553;
  static constexpr int kEndDay = 1561;
  static constexpr int kEndTime = 1555;
  VideoStartEndControls(ui::Dialog& dialog, VideoDayScale scale) : dlg_(dialog), scale_(std::move(scale)) {}
  // Both day lists filled.
  void Fill();
  // t whole seconds after the recording start time into the start (end: false) controls.
  void Put(bool start, std::int64_t t);
  // A time on the video clock (a pick on the waves) into the controls, kept within the
  // recording; origin is the recording start time.
  void PutVideoTime(bool start, double time, double origin);
  // The controls read back as a time on the video clock.
  double Read(bool start) const;
  // A new day chosen: the time picker gets that day's limits and its lower one.
  void DayChanged(bool start);
  const VideoDayScale& Scale() const { return scale_; }

 private:
  void SetLimits(bool start, int item);
  ui::Dialog& dlg_;
  VideoDayScale scale_;
};

class LyrWorkspaceDlgVideoAutoPlay : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 288;
  static constexpr int kList = 1000;
  static constexpr int kAdd = 1851;
  static constexpr int kDelete = 1178;
  static constexpr int kEditRange = 1018;
  static constexpr int kEditPath = 1023;
  static constexpr int kPreview = 1006;
  static constexpr int kTextOutput = 1077;
  static constexpr int kShortcut = 1083;
  // More entries than this and "&Add..." is off.
  static constexpr std::size_t kMaxEntries = 20;

  explicit LyrWorkspaceDlgVideoAutoPlay(LyrVideoDialogs& owner);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  void RefreshList();
  std::string FormatEntryTime(int entry, double t) const;
  static std::string FormatDisplayArea(std::uint16_t kind, std::uint16_t column, std::uint16_t row);
  void AppendRangeInfo(double start, double end, const std::string& comment, std::uint16_t kind,
                       std::uint16_t column, std::uint16_t row);
  void EditRangeInfo(double start, double end, const std::string& comment, std::uint16_t kind,
                     std::uint16_t column, std::uint16_t row);
  void EditPathInfo(const std::string& rawPath, const std::string& resultPath);
  // "&Text file output...": asks for the file, writes it.
  void OnBOutput();
  // The text of the whole list (lines ending in CR LF).
  std::string OutputText() const;
  // "&Shortcut...": one desktop shortcut per entry.
  void OnShortcut();
  // Enabling of the entry buttons from the selected rows.
  void UpdateEntryButtons();
  // The entry dialog or the edit-path dialog is done: the list shows again with the selected
  // row (changed: the rows were rebuilt first).
  void ComeBack(bool changed);

  int Selected = -1;
  const std::vector<AutoPlayEntry>& Backup() const { return backup_; }

 private:
  std::vector<AutoPlayEntry>& Entries() const;
  void OnAdd();
  void OnDelete();
  void OnEditRange();
  void OnEditPath();
  void OnPreview();
  int LowestSelectedRow() const;
  void Finish();
  LyrVideoDialogs& owner_;
  std::vector<AutoPlayEntry> backup_;
};

class LyrWorkspaceDlgVideoAutoPlayRange : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 287;
  static constexpr int kStartCursor = 1001;
  static constexpr int kEndCursor = 1007;
  static constexpr int kComment = 1072;
  static constexpr int kCommentChars = 126;

  explicit LyrWorkspaceDlgVideoAutoPlayRange(LyrVideoDialogs& owner);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void SetStartFromCursor(double time);
  void SetEndFromCursor(double time);

  // Set by the list dialog before the window is made.
  std::uint16_t Mode = 0;  // 0 add, 1 edit range
  std::int32_t Start = 0;  // whole seconds after the recording start time
  std::int32_t End = 0;
  std::string Comment;
  std::uint16_t SplitKind = 0;
  std::uint16_t SplitColumn = 0;
  std::uint16_t SplitRow = 0;

 private:
  LyrVideoDialogs& owner_;
  VideoStartEndControls times_;
};

class LyrWorkspaceDlgVideoEditPath : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 289;
  static constexpr int kRawPath = 1008;
  static constexpr int kResultPath = 1013;
  static constexpr int kRawBrowse = 1002;
  static constexpr int kResultBrowse = 1019;

  explicit LyrWorkspaceDlgVideoEditPath(LyrVideoDialogs& owner);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  std::string RawPath;
  std::string ResultPath;

 private:
  void OnRawBrowse();
  void OnResultBrowse();
  LyrVideoDialogs& owner_;
};
