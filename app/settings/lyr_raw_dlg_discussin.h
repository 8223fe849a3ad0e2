#pragma once
// The "Logic" window (modeless, template 221): the condition set of the current stage type in
// the document's logic block, the last-stage screening mode, logic template files and the FFT
// bands the conditions test. Every edit goes straight into the document; Cancel puts back the
// copies taken at opening. The main frame opens it with a caller code (1 the Modify Logic
// command, which makes the FFT settings read-only; 2 the Screening window) and is told how it
// ended through CMainFrame::CloseLogicDlg: 1 OK, 2 Cancel, 1000 reopen after a template load
// switched the animal-only mode off.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/icon_button_ex.h"
#include "app/settings/logic_template_file.h"
#include "app/settings/lyr_raw_dlg_other_fft.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_LOGIC = 221;
inline constexpr int IDD_LOGIC_SETTING_FFT = 309;

inline constexpr int IDC_LOGIC_COUNT = 9137;
inline constexpr int IDC_LOGIC_COUNT_SPIN = 9139;
inline constexpr int IDC_LOGIC_LIST = 1841;
inline constexpr int IDC_LOGIC_UP = 9145;
inline constexpr int IDC_LOGIC_DOWN = 9146;
inline constexpr int IDC_LOGIC_ERASE = 1769;
inline constexpr int IDC_LOGIC_LOWER1 = 1442;
inline constexpr int IDC_LOGIC_LOWER_OP1 = 1444;
inline constexpr int IDC_LOGIC_PARAM1 = 1446;
inline constexpr int IDC_LOGIC_CHANNEL1 = 9141;
inline constexpr int IDC_LOGIC_UPPER_OP1 = 1447;
inline constexpr int IDC_LOGIC_UPPER1 = 1448;
inline constexpr int IDC_LOGIC_AND = 1681;
inline constexpr int IDC_LOGIC_LOWER2 = 1450;
inline constexpr int IDC_LOGIC_LOWER_OP2 = 1451;
inline constexpr int IDC_LOGIC_PARAM2 = 1452;
inline constexpr int IDC_LOGIC_CHANNEL2 = 9143;
inline constexpr int IDC_LOGIC_UPPER_OP2 = 1453;
inline constexpr int IDC_LOGIC_UPPER2 = 1454;
inline constexpr int IDC_LOGIC_ARROW = 9144;
inline constexpr int IDC_LOGIC_STAGE = 1853;
inline constexpr int IDC_LOGIC_APPLY = 1514;
inline constexpr int IDC_LOGIC_MODE_NO = 1804;
inline constexpr int IDC_LOGIC_MODE_RK = 1805;
inline constexpr int IDC_LOGIC_MODE_STAGE_CHANGE = 1806;
inline constexpr int IDC_LOGIC_PARAMETER = 1855;
inline constexpr int IDC_LOGIC_LOAD = 1275;
inline constexpr int IDC_LOGIC_SAVE = 1276;
inline constexpr int IDC_LOGIC_FFT = 1280;

// End code of the Logic window that asks the frame to open it again.
inline constexpr int kLogicReopenCode = 1000;

// "Setting FFT" (modal, template 309): the FFT page (template 305) alone, read-only with OK
// disabled when the Logic window was opened by the Modify Logic command.
class LyrRawDlgSettingFFT : public ui::Dialog {
 public:
  explicit LyrRawDlgSettingFFT(ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_CheckOnly = 0;
  LyrRawDlgOtherFFT m_Fft;

 private:
  // The room of the page: above the buttons.
  ui::Rect PageRect() const;
};

class LyrRawDlgDiscussin : public ui::Dialog {
 public:
  LyrRawDlgDiscussin(CQLM2_AnalyzerDoc* doc, int caller, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // The document's set of the current stage type; null when the stage type is not 0..3.
  LogicCondition* GetConditionSet() const;
  // Copies the document's current set (all zero records when there is none).
  void CopyConditionSet(LogicConditionSet& out) const;
  // Refills the condition list and the last-stage mode buttons.
  void FillConditionList();
  // Checks every used condition; on the first fault beeps, says why, selects and shows the
  // row and returns false.
  bool ValidateConditions();
  // Hands the channels of the used conditions to the wave recognition and FFT settings.
  void SyncRecognitionChannels();
  // The animal-only check of a loaded set: true when it may be taken as it is.
  static bool CheckAnimalOnlyLogic(const LogicConditionSet& set, const LogicOptionParam& option);

  // Template files: the file dialogs, then the load or save of that path.
  void OnBTemplateRead();
  void OnBTemplateSave();
  void LoadTemplateFile(const std::string& path);
  void SaveTemplateFile(const std::string& path);

  // Number of used conditions as the window holds it (last used index + 1).
  int UsedCount() const { return m_LastUsed + 1; }
  // Codes behind the parameter combos (combo index i is entry i).
  const std::vector<int>& ParameterCodes() const { return paramCodes_; }
  int ParamCodeToComboIndex(int code) const;
  int ComboIndexToParamCode(int index) const;
  std::uint8_t ComboIndexToStage(int index) const;
  void SelectStageInCombo(std::uint8_t stage);

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  int m_Caller = 0;
  int m_CheckOnly = 0;
  std::int16_t m_LastUsed = -1;

 private:
  int ChannelCount() const;
  std::string ChannelText(int channel) const;
  std::string ClauseChannelText(const LogicTerm& term) const;
  int& RecognitionEmgChannel() const;
  int RecognitionChannelOf(int code) const;
  void SetRecognitionChannel(int code, std::uint16_t channel);
  bool IsChannelEditable(int code) const;

  void CreateColumns();
  void FillOperatorCombos();
  void FillParameterCombos();
  void FillChannelCombo(int clause, int kind);
  int ChannelToComboIndex(int clause, int channel) const;
  int ComboIndexToChannel(int clause, int index) const;
  void FillStageCombo();
  void EnableClause(int clause, bool enable, bool withChannel);
  void ShowClause(int clause, const LogicTerm& term);
  void ShowCondition(int row);
  bool ReadClause(int clause, LogicTerm& term, bool& swapped);
  bool ApplyCondition(int row);
  void SelectRow(int row);
  void UpdateMoveButtons();
  void Fail(const std::string& text, int focusId);
  // The count field holds 1..20 and the list has rows; otherwise says so (2529).
  bool CheckCountField();

  void OnListSelect();
  void OnAnd();
  void OnApply();
  void OnMode(int mode);
  void OnParameter();
  void OnChangeCount();
  void OnKillFocusCount();
  void OnSpinCount();
  void OnDelete();
  void OnMoveUp();
  void OnMoveDown();
  void OnSelChangeParam(int clause);
  void OnSelChangeStage();
  void OnSettingFFT();

  CIconButtonEx upButton_;
  CIconButtonEx downButton_;
  CIconButtonEx eraseButton_;
  std::vector<int> paramCodes_;
  std::array<std::vector<int>, 2> channelEntries_;
  std::vector<std::uint8_t> stageCodes_;
  LogicOptionParam savedOption_;
  LogicConditionSet savedSet_{};
  FFTBandParam savedFftBand_;
  int savedEmgChannel_ = -1;
  bool filling_ = false;
};
