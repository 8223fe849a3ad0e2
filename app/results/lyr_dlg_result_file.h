#pragma once
// The result file dialogs: the platform's file dialog with a panel of the program's own
// beside its list. In open mode the panel previews the five memos of the file under the
// cursor; in save mode it takes the five memos, and the save with range adds two time-point
// panels that choose the first and last epoch to store.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePoint;

inline constexpr int IDD_RESULT_FILE_RANGE = 473;
inline constexpr int IDD_RESULT_FILE_OPEN = 474;
inline constexpr int IDD_RESULT_FILE_SAVE = 475;
inline constexpr int IDC_RF_MEMO1 = 1701;  // .. 1705
inline constexpr int IDC_RF_START_FRAME = 1706;
inline constexpr int IDC_RF_END_FRAME = 1707;
inline constexpr int kResultMemoChars = 60;

// The panel of memo texts (read-only previews or edits of at most 60 characters).
class LyrResultMemoPanel : public ui::Dialog {
 public:
  LyrResultMemoPanel(int templateId, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void ShowMemos(const std::array<std::string, 5>& memos);
  std::array<std::string, 5> ReadMemos() const;
  // Memos shown when the panel is made (save modes).
  std::array<std::string, 5> initial;
};

class LyrDlgResultFileOpenSave {
 public:
  LyrDlgResultFileOpenSave(bool open, std::string defaultExt, std::string fileName, std::uint32_t flags,
                           std::string filter, ui::Window* parent = nullptr);
  ~LyrDlgResultFileOpenSave();
  void SetInitialFolder(std::string folder) { folder_ = std::move(folder); }
  // IDOK or IDCANCEL; after IDOK in save mode the memo buffers hold the edits' texts.
  int DoModal();
  std::string GetPathName() const { return path_; }
  // Open mode: the previews show the memos of the file under the cursor, or nothing.
  void OnFileNameChange(const std::string& path);
  // The chosen name was accepted: save mode takes the memos from the edits. false lets the
  // file dialog's own checks decide.
  bool OnFileNameOK();
  LyrResultMemoPanel* Panel() const { return panel_.get(); }

  std::array<std::string, 5> m_Memo;  // at most 60 characters each
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  bool open_;
  std::string defaultExt_, fileName_, filter_, folder_, path_;
  std::uint32_t flags_;
  ui::Window* parent_;
  std::unique_ptr<LyrResultMemoPanel> panel_;
};

// The memo panel with the two time-point panels "Start(<=)" and "(<=)End".
class LyrResultRangePanel : public LyrResultMemoPanel {
 public:
  explicit LyrResultRangePanel(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrResultRangePanel() override;
  bool OnInitDialog() override;
  LyrDlgTimePoint* StartPanel() const { return start_.get(); }
  LyrDlgTimePoint* EndPanel() const { return end_.get(); }

 private:
  CQLM2_AnalyzerDoc* doc_;
  std::unique_ptr<LyrDlgTimePoint> start_, end_;
};

class LyrDlgResultFileOpenSaveWithRange {
 public:
  LyrDlgResultFileOpenSaveWithRange(std::string defaultExt, std::string fileName, std::uint32_t flags,
                                    std::string filter, ui::Window* parent = nullptr);
  ~LyrDlgResultFileOpenSaveWithRange();
  void SetInitialFolder(std::string folder) { folder_ = std::move(folder); }
  // IDOK or IDCANCEL; after IDOK the memos and the epochs (start <= end) are set.
  int DoModal();
  std::string GetPathName() const { return path_; }
  // The panel while the dialog runs (tests set the time points through it).
  LyrResultRangePanel* Panel() const { return panel_.get(); }
  // Called when the panel exists, before the file dialog runs.
  std::function<void(LyrDlgResultFileOpenSaveWithRange&)> onPanelReady;
  // The chosen name was accepted: the epochs in ascending order and the memos are taken from
  // the panels. false lets the file dialog's own checks decide.
  bool OnFileNameOK();

  std::array<std::string, 5> m_Memo;
  std::int32_t m_StartEpoch = 0;
  std::int32_t m_EndEpoch = 0;
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  std::string defaultExt_, fileName_, filter_, folder_, path_;
  std::uint32_t flags_;
  ui::Window* parent_;
  std::unique_ptr<LyrResultRangePanel> panel_;
};
