#pragma once
// Hooks for tests of windows: scripted answers to message boxes, dialogs and common dialogs
// (queues, consumed in order), records of what was shown, fired timers, a fixed virtual
// screen, rendering of windows into images, and a temporary program folder.
//
// Tests run under the offscreen platform (QT_QPA_PLATFORM=offscreen): no modal loop ever runs
// there. A box or dialog without a scripted answer is recorded as unanswered and gets the
// safe answer (Cancel where offered, else No, else OK).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/draw/image.h"

namespace ui {
class Dialog;
class Frame;
class Splitter;
class Window;
}  // namespace ui

namespace testhooks {

// --- Message boxes ---------------------------------------------------------------
// Queues the answer (IDYES, IDNO, IDOK, IDCANCEL...) of the next box shown.
void AnswerMessageBox(int answer);

struct ShownBox {
  std::string text;
  std::string caption;
  std::uint32_t type = 0;  // MB_* flags as given
  int answer = 0;          // what the caller got
  bool scripted = false;   // false: no answer was queued (safe answer used)
};
// Every box shown since the last Reset, in order.
const std::vector<ShownBox>& ShownMessageBoxes();
// Beeps (MessageBeep types) since the last Reset, in order.
const std::vector<std::uint32_t>& Beeps();

// --- Modal dialogs from templates ------------------------------------------------
// Queues a script for the next modal dialog of that template id: it runs after
// OnInitDialog and drives the dialog by control id (SetText, Check, ClickButton...). When the
// script has not ended the dialog, it ends with IDCANCEL and is recorded as unanswered.
void ScriptDialog(int templateId, std::function<void(ui::Dialog&)> script);
// Template ids of the modal dialogs run since the last Reset, in order.
const std::vector<int>& ShownDialogs();

// --- Common dialogs ---------------------------------------------------------------
// Next file, folder, colour or font dialog: IDOK with the path(s) / value, or IDCANCEL.
void AnswerFileDialog(int result, std::vector<std::string> paths = {});
void AnswerFolderDialog(int result, std::string folder = {});
void AnswerColorDialog(int result, std::uint32_t colorref = 0);
// The font answer is applied by the font dialog's own hook (height, weight, face).
void AnswerFontDialog(int result, int height = 0, int weight = 400, std::string face = {});
// Next print dialog: IDOK prints into the PDF file pdfPath, or with an empty path on the
// printer (empty name: the default one); IDCANCEL.
void AnswerPrintDialog(int result, std::string pdfPath = {}, std::string printerName = {});

// The command chosen in the next popup (context) menu; 0 dismisses it.
void AnswerPopupMenu(std::uint32_t command);

// Number of shown boxes and dialogs that found no scripted answer.
int UnansweredCount();

// Clears every queue and record above.
void Reset();

// --- Timers, input, files -----------------------------------------------------------
// The Ctrl and Shift state is set in one place for the whole program:
// sys::SetKeyStateForTesting (platform/system/key_state.h); PressKey and accelerators read it.
// Delivers WM_TIMER for an armed timer as its expiry would (pre-translation, then the window
// procedure). False when the timer is not armed.
bool FireTimer(ui::Window& window, std::uint32_t id);
// Clicks a control of a dialog or dialog bar by id (buttons, checks, radios). False when the
// control does not exist or is disabled.
bool ClickControl(ui::Window& dialogOrBar, int controlId);
// Delivers a key-down (or key-up) message through the message path of the focused window
// (pre-translation, accelerators, window procedure).
void PressKey(ui::Window& target, std::uint32_t vk, bool down = true);
// Sends a key as the toolkit delivers a real key press and release to the window (the whole
// input path: pre-translation, key-down, character). vk: digits, letters, VK_NUMPAD0..9,
// arrows, VK_PRIOR/NEXT, VK_SPACE, VK_ESCAPE, VK_F1..F12.
void SendToolkitKey(ui::Window& target, std::uint32_t vk, bool ctrl = false, bool alt = false);
// Drops files on a frame as the desktop would.
void DropFiles(ui::Frame& frame, const std::vector<std::string>& paths);
// Runs every posted message and task now.
void ProcessMessages();

// --- Screen and images ----------------------------------------------------------------
// Fixes the screen's size in pixels and millimetres (until reset with zeros).
void SetVirtualScreen(int widthPx, int heightPx, int widthMm, int heightMm);
// Renders a window (with its children) as it would show now: into an image (null when the
// window does not exist) or a PNG file (false on failure).
draw::Image RenderWindow(ui::Window& window);
bool RenderWindowToPng(ui::Window& window, const std::string& path);

// --- Program folder ---------------------------------------------------------------------
// A fresh folder under the system's temporary folder, removed with the object; while it
// lives it is the program folder ("beside the program").
class TempProgramFolder {
 public:
  TempProgramFolder();
  ~TempProgramFolder();
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;
  const std::string& Path() const { return path_; }
  // Writes a file in the folder; returns its full path.
  std::string WriteFile(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

}  // namespace testhooks
