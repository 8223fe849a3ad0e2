#pragma once
// "User program" (dialog 191): the list of the user's programs that the Tool menu offers, with
// adding and removing. Changes take effect at once; there is nothing to cancel.
#include <memory>
#include <string>

#include "platform/ui/dialog.h"

inline constexpr int IDD_USER_PROGRAM = 191;
inline constexpr int IDD_USER_PROGRAM_FILE_PANEL = 471;
inline constexpr int IDC_USER_PROGRAM_LIST = 1661;
inline constexpr int IDC_USER_PROGRAM_ADD = 1662;
inline constexpr int IDC_USER_PROGRAM_REMOVE = 1663;
inline constexpr int IDC_USER_PROGRAM_ITEM_NAME = 9185;

// The menu name of a chosen program file: the name typed, else the file's name without
// folder and extension; cut to the 31 bytes its record keeps.
std::string UserProgramItemName(const std::string& typed, const std::string& programPath);

// The panel of the program file choice (template 471): the item name edit.
class LyrRawDlgUserProgramFilePanel : public ui::Dialog {
 public:
  explicit LyrRawDlgUserProgramFilePanel(ui::Window* parent = nullptr)
      : ui::Dialog(IDD_USER_PROGRAM_FILE_PANEL, parent) {}
};

class LyrRawDlgUserProgram : public ui::Dialog {
 public:
  explicit LyrRawDlgUserProgram(ui::Window* parent = nullptr);
  ~LyrRawDlgUserProgram() override;
  bool OnInitDialog() override;
  // "&Add": with fewer than ten entries, a program file chosen with its item name is appended.
  void OnAdd();
  // "&Remove": the first selected entry goes, the later ones move up.
  void OnRemove();
  void FillList();

 private:
  std::unique_ptr<LyrRawDlgUserProgramFilePanel> panel_;
};
