#pragma once
// "Show channels" (dialog 134): which channels the raw window draws, with the named channel
// sets of the settings file. "Title" (197) names a new set and "Remove" (198) picks the set
// to delete; set 0 always stays.
#include <string>

#include "app/raw/lyr_raw_display_dialogs.h"

class LyrRawDlgShowCh : public LyrRawChannelDialog {
 public:
  static constexpr int kTemplateId = 134;
  static constexpr int kList = 1078;
  static constexpr int kSetList = 1703;
  static constexpr int kAllChannels = 1085;
  static constexpr int kSave = 1710;
  static constexpr int kDelete = 1665;

  explicit LyrRawDlgShowCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  // Stores the selection into the current set and shows the channels of that set.
  void OnOK() override;
  // True once a set was chosen, saved or deleted: those stay in force after Cancel.
  bool SetsChanged = false;

 private:
  int ChannelCount() const;
  void FillSetList();
  void SelectRowsOfSet(int set);
  void StoreSelection(int set);
  void OnSetChosen();
  void OnAllChannels();
  void OnSave();
  void OnDelete();
};

// "Title" (dialog 197): the name of a new channel set.
class LyrRawDlgTitle : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 197;
  static constexpr int kTitleEdit = 1713;
  static constexpr int kMaxTyped = 20;   // characters the edit accepts
  static constexpr int kMaxStored = 19;  // characters kept in the 20-byte name
  explicit LyrRawDlgTitle(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  std::string Title;
};

// "Remove" (dialog 198): sets 1 to count - 1 to choose the one to delete.
class LyrRawDlgRemove : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 198;
  static constexpr int kSetList = 1716;
  explicit LyrRawDlgRemove(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  // Row chosen on OK (row 0 is set 1); -1 when none.
  int Chosen = -1;
};

// The first n characters (not bytes) of a UTF-8 text.
std::string FirstCharacters(const std::string& text, int n);
