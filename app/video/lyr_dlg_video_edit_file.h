#pragma once
// "Edit video files": a list of ranges on the video clock to keep (save mode) or to cut out
// (delete mode), the size of the set now and after the edit, and on OK the edit of the
// controller's video-file table; and "Range setting", the start and end of one range.
#include <cstdint>
#include <string>
#include <vector>

#include "app/video/lyr_dlg_video_auto_play.h"
#include "app/video/video_range_edit.h"
#include "platform/ui/dialog.h"

class LyrVideoDialogs;

class CVPDlgEditFile : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 286;
  static constexpr int kAdd = 1765;
  static constexpr int kRemove = 1774;
  static constexpr int kList = 1000;
  static constexpr int kRangeGroup = 1040;
  static constexpr int kSize = 1037;
  // More ranges than this and "&Add..." is off.
  static constexpr std::size_t kMaxRanges = 20;
  static constexpr std::uint32_t kIdsConfirm = 64929;

  CVPDlgEditFile(LyrVideoDialogs& owner, RangeEditMode mode);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // Applies a range list to a table in this dialog's mode (the list may be replaced).
  void SetRangeInfo(std::vector<VideoFileRecord>& table, std::vector<VideoRange>& list) const;
  // Checks and appends a range: 1 when added, 0 after the message of the failed check.
  int AddRangeInfo(double start, double end);
  void ShowVideoFileSize(const std::vector<VideoFileRecord>& table);
  // The rows made anew from the list.
  void RebuildList();
  // The range dialog is done with a range added: the dialog shows again.
  void ComeBack();

  RangeEditMode Mode() const { return mode_; }
  const std::vector<VideoRange>& Ranges() const { return ranges_; }

 private:
  void OnAdd();
  void OnRemove();
  void UpdateTimeBar() const;
  std::string TimeText(double t) const;
  LyrVideoDialogs& owner_;
  RangeEditMode mode_;
  std::vector<VideoRange> ranges_;
};

class LyrWorkspaceDlgVideoRange : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 285;
  static constexpr int kStartCursor = 1001;
  static constexpr int kEndCursor = 1005;

  explicit LyrWorkspaceDlgVideoRange(LyrVideoDialogs& owner);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void SetStartFromCursor(double time);
  void SetEndFromCursor(double time);

 private:
  LyrVideoDialogs& owner_;
  VideoStartEndControls times_;
};
