#pragma once
// The program's one modeless progress window. A long operation on the user-interface thread
// creates it over its owner (which stays disabled while the window shows), feeds it a range,
// a position and two lines of text, and asks it for a cancel request between its steps. Moving
// the bar and asking for a cancel first handle the pending messages, so the program keeps
// repainting without a second thread.
#include <cstdint>
#include <string_view>

#include "app/frame/shared_dialog_rules.h"
#include "platform/ui/dialog.h"

inline constexpr int IDD_OUTPUT_PROGRESS = 102;
inline constexpr std::uint32_t IDS_OUTPUT_PROGRESS_CAPTION = 103;
inline constexpr int IDC_PROGRESS_BAR = 1014;
inline constexpr int IDC_PROGRESS_TEXT1 = 1024;
inline constexpr int IDC_PROGRESS_TEXT2 = 1025;

class LyrDlgOutputProgress : public ui::Dialog {
 public:
  // captionId: string loaded as the title when the window opens; 0 keeps "Output".
  explicit LyrDlgOutputProgress(std::uint32_t captionId = 0);
  ~LyrDlgOutputProgress() override;

  // Disables the owner (the top-level window of parent) when it is enabled, then creates the
  // window. 1 on success; 0 with the owner enabled again.
  int Create(ui::Window* parent);
  bool OnInitDialog() override;

  void SetRange(std::uint32_t low, std::uint32_t high);
  void SetPos(std::uint32_t pos);
  // Handles the pending messages, then returns the cancel request and clears it.
  int CheckCancel();
  // Whether Cancel was pressed (as far as the messages handled so far tell), without handling
  // any; the request stays for CheckCancel.
  bool CancelPending() const { return cancelRequested_ != 0; }
  void SetText1(std::string_view text);
  void SetText2(std::string_view text);

  // Cancel and Esc only raise the request; Enter does nothing. The window stays.
  void OnCancel() override { cancelRequested_ = 1; }
  void OnOK() override {}

  // Enables the owner again, then destroys the window.
  void DestroyWindow();
  void ReleaseOwner();

  std::uint32_t RangeLow() const { return scale_.low; }
  std::uint32_t RangeHigh() const { return scale_.high; }
  bool OwnerDisabled() const { return ownerDisabled_ != 0; }

 private:
  void SendRange();

  std::uint32_t captionId_ = IDS_OUTPUT_PROGRESS_CAPTION;
  ProgressScale scale_{0, 100};
  std::uint32_t step_ = 10;
  std::uint32_t cancelRequested_ = 0;
  std::uint32_t ownerDisabled_ = 0;
  ui::Window* owner_ = nullptr;
};
