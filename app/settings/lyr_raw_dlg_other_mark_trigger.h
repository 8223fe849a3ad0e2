#pragma once
// The "Mark" page of the "Other" settings (child template 306): the ten mark types, their
// names, whether they are shown, their colours and their automatic detection by a level
// trigger on one channel. The page edits a private copy of the ten items, which its host
// validates (CheckSettings) and commits (ApplySettings) on OK; Cancel of the host drops it.
#include <array>
#include <cstdint>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_OTHER_MARK_TRIGGER = 306;

// Control ids of one mark row.
struct MarkTriggerRowIds {
  int detect;        // "Mark n" check box
  int name;          // name edit
  int show;          // show check box
  int swatch;        // colour swatch
  int colour;        // "Color..." button
  int channel;       // channel combo
  int direction;     // direction combo
  int level;         // level edit
  int invalidTime;   // invalid-time edit
};

inline constexpr std::array<MarkTriggerRowIds, 10> kMarkTriggerRows = {{
    {1691, 1925, 9081, 1926, 9091, 9051, 9061, 9071, 9001},
    {1701, 1928, 9082, 1930, 9092, 9052, 9062, 9072, 9003},
    {1706, 1933, 9083, 1935, 9093, 9053, 9063, 9073, 9005},
    {1709, 1937, 9084, 1938, 9094, 9054, 9064, 9074, 9007},
    {1712, 1940, 9085, 1941, 9095, 9055, 9065, 9075, 9009},
    {1715, 1943, 9086, 1944, 9096, 9056, 9066, 9076, 9011},
    {1718, 1946, 9087, 1947, 9097, 9057, 9067, 9077, 9013},
    {1721, 1949, 9088, 1950, 9098, 9058, 9068, 9078, 9014},
    {1724, 1952, 9089, 1953, 9099, 9059, 9069, 9079, 9015},
    {1727, 1955, 9090, 1956, 9100, 9060, 9070, 9080, 9016},
}};

// Message texts of the page.
inline constexpr std::uint32_t IDS_MT_NOT_SPECIFIED = 2342;    // "%s is not specified."
inline constexpr std::uint32_t IDS_MT_MARKS_DELETED = 2482;    // asked when detection is switched off
inline constexpr std::uint32_t IDS_MT_PLUS_VALUE = 2497;       // "Input plus value on %s."
inline constexpr std::uint32_t IDS_MT_PREFIX = 64160;          // "Mark auto detect: "
inline constexpr std::uint32_t IDS_MT_LEVEL_VALUE = 64161;     // "Mark%d Level value"
inline constexpr std::uint32_t IDS_MT_INVALID_TIME = 64162;    // "Mark%d Invalid time value"

class LyrRawDlgOtherMarkTrigger : public ui::Dialog {
 public:
  explicit LyrRawDlgOtherMarkTrigger(ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {
    if (ui::Window* host = GetParent()) host->SendMessage(ui::WM_COMMAND, ui::MakeLong(ui::IDCANCEL, ui::BN_CLICKED), 0);
  }

  // Reads the ten rows into the copy and validates them; 1 when every row is valid. The first
  // invalid row shows its message and takes the focus.
  int CheckSettings();
  // Commits the copy into the document and clears the stored marks of every mark type whose
  // detection is off; always 1.
  int ApplySettings();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Changed = 0;
  std::array<MarkTypeParam::Item, 10> m_Items;

 private:
  void ShowMark(int row);
  void SetTriggerDetect(int row, int value);
  void SetMarkChannel(int row, int channel);
  void OnTriggerDetectClicked(int row);
  void OnSelchangeChannel(int row);
  void OnColor(int row);
  // Repaints the ten swatches in the copy's colours.
  void DrawColors();
  int ChannelCount() const;
};
