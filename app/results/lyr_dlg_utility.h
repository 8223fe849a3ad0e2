#pragma once
// The small dialogs of the result-file comparison window: closing loaded files, a file's
// subject and memos, the free display time, choosing one file, the stage type used for all
// files, and the lines and display time of the hypnogram bands.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/document/ch_info.h"
#include "platform/ui/dialog.h"

inline constexpr int IDD_UTILITY_CLOSE = 228;
inline constexpr int IDD_UTILITY_WINDOW_SETTING = 229;
inline constexpr int IDD_UTILITY_SETUP = 231;
inline constexpr int IDD_UTILITY_FILE_INFORMATION = 485;
inline constexpr int IDD_UTILITY_DISPLAY_BAR = 486;
inline constexpr int IDD_UTILITY_DISPLAY_TIME = 487;
inline constexpr int IDD_UTILITY_SELECT_FILE = 488;
inline constexpr int IDC_UTILITY_DISPLAY_TIME = 1919;  // the display-time box of the bar
inline constexpr int kUtilityMaxFiles = 9;
// The longest display time of a hypnogram line: 240 hours.
inline constexpr int kUtilityMaxDisplayMinutes = 240 * 60;

// What the information dialog shows of a loaded file.
struct UtilityFileSummary {
  std::string path;
  LyrRecordInfo record;  // the subject block
  std::array<std::string, 5> memos;
};

// "Close": the loaded files in a list of several selectable rows.
class LyrDlgUtilityClose : public ui::Dialog {
 public:
  static constexpr int kList = 1910;
  LyrDlgUtilityClose(std::vector<std::string> paths, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  // 1 close the slot, 0 keep it; 0xFFFF until "Close file" was chosen.
  std::array<std::uint16_t, kUtilityMaxFiles> m_CloseFlags;
  std::vector<std::string> m_Paths;
};

// "File Information": the subject block and the memos of the file chosen in the list.
class LyrDlgUtilityFileInformation : public ui::Dialog {
 public:
  static constexpr int kFiles = 1917;
  static constexpr int kInfo = 1918;
  LyrDlgUtilityFileInformation(std::vector<UtilityFileSummary> files, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void ShowFile(int index);
  // The rows shown for a file: label and value.
  static std::vector<std::pair<std::string, std::string>> Rows(const UtilityFileSummary& file);

 private:
  std::vector<UtilityFileSummary> files_;
};

// "Display Time": the free display time in hours (1 to 240; outside, 24 or 240).
class LyrDlgUtilityDisplayTime : public ui::Dialog {
 public:
  static constexpr int kHours = 1920;
  explicit LyrDlgUtilityDisplayTime(std::int32_t minutes, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  std::int32_t m_Minutes;
};

// "Select File": one of the loaded files.
class LyrDlgUtilitySelectFile : public ui::Dialog {
 public:
  static constexpr int kFiles = 1917;
  LyrDlgUtilitySelectFile(std::vector<std::string> paths, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  std::int32_t m_Index = 0;

 private:
  std::vector<std::string> paths_;
};

// "Setup": every file with its own stage type, or all with the chosen type and free stages.
class LyrDlgUtilitySetup : public ui::Dialog {
 public:
  static constexpr int kEachFile = 1914, kArbitrary = 1915;
  static constexpr std::array<int, 4> kTypes{1863, 1865, 1867, 1869};
  static constexpr std::array<int, 4> kFree{1877, 1871, 1873, 1875};
  LyrDlgUtilitySetup(std::uint16_t mode, std::uint16_t stageType, std::uint16_t freeCount,
                     ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  std::uint16_t m_Mode, m_StageType, m_FreeCount;

 private:
  void EnableGroups();
};

// "Window Setting": lines per file and the display time of a line.
class LyrDlgUtilityWindowSetting : public ui::Dialog {
 public:
  static constexpr int kLines = 1615, kTime = 1618, kHours = 1617, kUnit = 1619;
  LyrDlgUtilityWindowSetting(std::int32_t lines, std::int32_t minutes, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  std::int32_t m_Lines, m_Minutes;

 private:
  void OnTimeChange();
};
