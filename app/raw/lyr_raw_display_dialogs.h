#pragma once
// The raw window's display dialogs that the main frame opens from the View menu:
// "Page" (rows and page length) and the channel display dialogs. The frame hands
// each one the document (and, for the per-channel dialogs, an array of change
// marks, one 16-bit word per channel) and runs it modally; the dialogs apply their
// changes to the document and the program-wide settings themselves.
#include <cstdint>
#include <vector>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

// "Page" (dialog 131): number of page rows and page length.
class LyrRawDlgPage : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 131;
  static constexpr int kRowList = 1003;
  static constexpr int kPageList = 1009;
  LyrRawDlgPage(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  // Ends as OK only when the row mode or the page length changed.
  void OnOK() override;
  // Page length chosen so far in seconds (-1: not selected).
  std::int32_t ChosenPage = -1;

 private:
  void OnPageSelected();
  CQLM2_AnalyzerDoc* doc_;
};

// A channel display dialog with what the frame hands it.
class LyrRawChannelDialog : public ui::Dialog {
 public:
  LyrRawChannelDialog(int templateId, CQLM2_AnalyzerDoc* doc, ui::Window* parent);
  // One change mark per channel of the document, zero when handed over.
  std::vector<std::uint16_t> ChangeMarks;

 protected:
  // The dialog's channel list: full-row selection of several rows, and the columns "No.",
  // "Ch" and a value column (valueTitle; 0 for none) taking their shares (per cent) of the width
  // left of a vertical scroll bar. Columns are added only once.
  static void SetUpChannelList(ui::Control list, int noShare, int chShare, std::uint32_t valueTitle = 0,
                               int valueShare = 0);
  // The channels marked in ChangeMarks below `count`, in channel order.
  std::vector<int> MarkedChannels(int count) const;

  CQLM2_AnalyzerDoc* doc_;
};

// The channel dialogs with files of their own, for the code that opens them through this header.
#include "app/raw/lyr_raw_dlg_scale_ch.h"  // IWYU pragma: export
#include "app/raw/lyr_raw_dlg_show_ch.h"   // IWYU pragma: export
#include "app/raw/lyr_raw_dlg_type_ch.h"   // IWYU pragma: export
