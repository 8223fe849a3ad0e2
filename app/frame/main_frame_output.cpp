// Bitmap output, printing of the raw window, the Help menu's manuals and the About window of
// the main frame.
#include <memory>
#include <string>

#include "app/frame/frame_globals.h"
#include "app/frame/help_commands.h"
#include "app/frame/lyr_about.h"
#include "app/frame/lyr_dlg_bitmap.h"
#include "app/frame/lyr_splitter_wnd.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/frame/window_command_states.h"
#include "app/raw/raw_dummy_view.h"
#include "app/results/hypnogram_printing.h"
#include "common/draw/fyn_bitmap.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"
#include "platform/ui/print_dialog.h"
#include "platform/ui/window_image.h"

namespace {
constexpr std::uint32_t kIdBitmapOutput = 32982;
constexpr std::uint32_t kIdHelpTopics = 33153;
constexpr std::uint32_t kIdVideoOptionHelp = 33126;
constexpr std::uint32_t kStrPrintFailed = 63480;
}  // namespace

void CMainFrame::MapOutputCommands() {
  MapCommand(kIdBitmapOutput, [this] { OnBitmapOutput(); });
  MapUpdate(kIdBitmapOutput, [this](ui::CmdUI& cmd) {
    cmd.Enable(DocumentLoaded == 1 && ScreeningRunning == 0 && !IsReportDlgOpen() && MultiScreeningDlg == nullptr);
  });
  MapCommand(ID_PRINT_RAW, [this] { OnFilePrint(); });
  MapCommand(kIdHelpTopics, [this] { OnHelpTopics(); });
  MapCommand(kIdVideoOptionHelp, [this] { OnVideoOptionHelp(); });
  MapUpdate(kIdVideoOptionHelp, [](ui::CmdUI& cmd) { cmd.Enable(ScreeningRunning == 0); });
  MapCommand(ui::ID_APP_ABOUT, [this] { OnAbout(); });
}

ui::Window* CMainFrame::BitmapOutputWindow(int choice) {
  switch (choice) {
    case 0: return this;
    case 1: return outerSplitter_ ? outerSplitter_->GetPane(0, 0) : nullptr;
    case 2: return innerSplitter_ ? innerSplitter_->GetPane(0, 0) : nullptr;
    case 3: return innerSplitter_ ? innerSplitter_->GetPane(0, 1) : nullptr;
    default: return nullptr;
  }
}

int CMainFrame::SaveWindowBitmap(int choice, const std::string& path) {
  ui::Window* window = BitmapOutputWindow(choice);
  if (window == nullptr) return 0;
  window->Invalidate();
  window->UpdateWindow();
  const ui::Rect rect = window->GetClientRect();
  if (rect.IsEmpty()) return 0;
  // The window as it shows, its views, controls and bars included.
  draw::Image surface = ui::RenderWindowImage(*window);
  if (surface.IsNull()) return 0;
  draw::Dc dc(surface);
  Invalidate(true);
  UpdateWindow();
  FynSaveBitmapFile bitmap(&dc, rect, nullptr, path.c_str());
  if (bitmap.InitTransaction() != 1) return 0;
  return bitmap.WriteBitmap();
}

void CMainFrame::OnBitmapOutput() {
  WriteResumeFile();
  LyrDlgBitmap target(this);
  if (target.DoModal() != ui::IDOK) return;
  ui::FileDialog save(false, "bmp", {}, ui::OFN_OVERWRITEPROMPT | ui::OFN_HIDEREADONLY, "Bitmap(*.bmp)|*.bmp||", this);
  save.SetInitialFolder(LastFolderPath);
  if (save.DoModal() == ui::IDOK) SaveWindowBitmap(target.target, save.GetPathName());
  WriteResumeFile();
}

void CMainFrame::OnHelpTopics() { OpenHelpTopics(); }

void CMainFrame::OnVideoOptionHelp() { OpenVideoOptionHelp(); }

void CMainFrame::OnAbout() { ShowAboutWindow(); }

// ---- Printing ----------------------------------------------------------------------------------

int CMainFrame::OnFilePrint() {
  LyrRawDummyView* view = RawView();
  if (view == nullptr) return 0;
  ui::PrintDialog dlg(this);
  if (dlg.DoModal() != ui::IDOK) return 0;
  draw::PrintStatus status = draw::PrintStatus::Ok;
  std::unique_ptr<draw::PrintJob> job = dlg.OpenJob(&status);
  if (!job) {
    ui::MessageBoxId(kStrPrintFailed, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return 0;
  }
  int ok = job->StartPage() == draw::PrintStatus::Ok ? 1 : 0;
  if (ok != 0) {
    ::OnBeginPrinting(job->GetDc());
    view->PrintRawWindow(job->GetDc(), job->PageRect());
    ::OnEndPrinting();
    ok = job->EndPage() == draw::PrintStatus::Ok && job->EndDoc() == draw::PrintStatus::Ok ? 1 : 0;
  }
  PrintTarget = 0;
  if (ok == 0) {
    job->Abort();
    ui::MessageBoxId(kStrPrintFailed, ui::MB_OK | ui::MB_ICONEXCLAMATION);
  }
  return ok;
}
