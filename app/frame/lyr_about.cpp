#include "app/frame/lyr_about.h"

#include <algorithm>
#include <string>

#include "app/frame/file_version_info.h"
#include "app/frame/help_commands.h"
#include "app/frame/navigation_state.h"
#include "platform/draw/dc.h"
#include "platform/system/program_folder.h"
#include "platform/ui/messages.h"

namespace {

constexpr int kTitlePane = ui::AFX_IDW_PANE_FIRST;

// The last About window. It is replaced when the window opens again and deliberately never
// destroyed at exit: its pane is a view, and the views' register may be gone by then.
LyrAbout*& AboutHolder() {
  static LyrAbout* holder = nullptr;
  return holder;
}

}  // namespace

void PaintTitlePicture(draw::Dc& dc, const ui::Rect& area) {
  const int h = std::max(area.Height(), 1);
  for (int y = 0; y < h; ++y) {
    const int shade = 40 + 90 * y / h;
    dc.FillSolidRect(area.left, area.top + y, area.Width(), 1, draw::Rgb(10, 20 + shade / 3, shade + 60));
  }
  draw::LogFont lf = draw::GetSystemLogFont(draw::SystemFont::DefaultGui);
  lf.height = -26;
  lf.weight = draw::FW_BOLD;
  const draw::Font font(lf);
  const draw::Font old = dc.SelectFont(font);
  const int mode = dc.SetBkMode(draw::TRANSPARENT);
  const draw::ColorRef color = dc.SetTextColor(draw::Rgb(255, 255, 255));
  ui::Rect title{area.left, area.top + 40, area.right, area.top + 90};
  dc.DrawText("QLM2_Analyzer", &title, draw::DT_CENTER | draw::DT_SINGLELINE | draw::DT_VCENTER);
  dc.SetTextColor(color);
  dc.SetBkMode(mode);
  dc.SelectFont(old);
}

void LyrTitleView::OnDraw(draw::Dc& dc) {
  // The picture, stretched by whole multiples only, as a 320 x 170 picture always fits.
  constexpr int w = kAboutWidth, h = kAboutHeight;
  PaintTitlePicture(dc, ui::Rect{0, 0, (kAboutWidth / w) * w, (kAboutHeight / h) * h});

  std::string programVersion;
  FileVersionInfo(nullptr).GetString(&programVersion, 3);
  std::string videoVersion;
  const std::string library = sys::PathBesideProgram(kVideoPlayerLibraryName);
  FileVersionInfo(library.c_str()).GetString(&videoVersion, 3);

  draw::LogFont lf = draw::GetSystemLogFont(draw::SystemFont::Menu);
  lf.height = 12;
  const draw::Font font(lf);
  const int saved = dc.SaveDC();
  dc.SelectFont(font);
  dc.SetTextColor(draw::Rgb(255, 255, 255));
  dc.SetBkMode(draw::TRANSPARENT);
  ui::Rect client = GetClientRect();
  ui::Rect right = client;
  dc.DrawText("P/N:  " + programVersion, &right, draw::DT_RIGHT | draw::DT_BOTTOM | draw::DT_SINGLELINE);
  ui::Rect left = client;
  dc.DrawText("VideoOption  P/N: " + videoVersion, &left, draw::DT_LEFT | draw::DT_BOTTOM | draw::DT_SINGLELINE);
  if (LearningSampleMode != 0) {
    const int lineHeight = dc.GetTextExtent("Evaluation").cy;
    ui::Rect evaluation{client.left, client.top, client.right, client.bottom - lineHeight};
    dc.DrawText("Evaluation", &evaluation, draw::DT_LEFT | draw::DT_BOTTOM | draw::DT_SINGLELINE);
  }
  dc.RestoreDC(saved);
}

void LyrTitleView::CloseAbout() {
  if (auto* about = dynamic_cast<LyrAbout*>(GetParent()); about != nullptr && about->IsKeptOpen() != 0)
    about->DestroyWindow();
}

void LyrTitleView::OnLButtonUp(std::uint32_t, ui::Point) { CloseAbout(); }
void LyrTitleView::OnRButtonUp(std::uint32_t, ui::Point) { CloseAbout(); }
void LyrTitleView::OnKeyUp(std::uint32_t, std::uint32_t, std::uint32_t) { CloseAbout(); }

LyrAbout::LyrAbout() = default;
LyrAbout::~LyrAbout() = default;

int LyrAbout::OnCreate() { return OnCreateClient() ? 0 : -1; }

bool LyrAbout::OnCreateClient() {
  view_ = std::make_unique<LyrTitleView>();
  ui::CreateContext context;
  const ui::Rect client = GetClientRect();
  if (!view_->CreateView(this, kTitlePane, context, client)) {
    view_.reset();
    return false;
  }
  view_->ShowWindow(ui::SW_SHOW);
  view_->OnInitialUpdate();
  view_->SetFocus();
  return true;
}

void LyrAbout::OnSize(std::uint32_t, int cx, int cy) {
  if (view_ && view_->IsWindow()) view_->MoveWindow(ui::Rect{0, 0, cx, cy});
}

void LyrAbout::CloseIfKeptOpen() {
  if (keptOpen_ != 0) DestroyWindow();
}

void LyrAbout::OnLButtonUp(std::uint32_t, ui::Point) { CloseIfKeptOpen(); }
void LyrAbout::OnLButtonDown(std::uint32_t, ui::Point) { CloseIfKeptOpen(); }
void LyrAbout::OnRButtonUp(std::uint32_t, ui::Point) { CloseIfKeptOpen(); }
void LyrAbout::OnKeyUp(std::uint32_t, std::uint32_t, std::uint32_t) { CloseIfKeptOpen(); }
void LyrAbout::OnKeyDown(std::uint32_t, std::uint32_t, std::uint32_t) { CloseIfKeptOpen(); }

LyrAbout* OpenAboutWindow() {
  LyrAbout* about = AboutHolder();
  return about != nullptr && about->IsWindow() ? about : nullptr;
}

bool ShowAboutWindow() {
  if (OpenAboutWindow() != nullptr) return false;
  LyrAbout*& about = AboutHolder();
  delete about;
  about = new LyrAbout();
  about->SetKeptOpen(1);
  const draw::ScreenMetrics screen = draw::GetScreenMetrics();
  const int left = (screen.widthPx - kAboutWidth) / 2;
  const int top = (screen.heightPx - kAboutHeight) / 2;
  if (!about->Create(nullptr, 0, ui::Rect{left, top, left + kAboutWidth, top + kAboutHeight})) {
    delete about;
    about = nullptr;
    return false;
  }
  about->SetWindowText("ABOUT");
  about->ShowWindow(ui::SW_SHOW);
  return true;
}
