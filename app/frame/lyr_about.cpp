#include "app/frame/lyr_about.h"

#include <memory>
#include <string>

#include "app/frame/file_version_info.h"
#include "platform/draw/dc.h"

namespace {
std::unique_ptr<LyrAbout>& AboutHolder() {
  static std::unique_ptr<LyrAbout> holder;
  return holder;
}
}  // namespace

LyrAbout::LyrAbout(int keepOpen) : keepOpen_(keepOpen) {}

void LyrAbout::OnPaint(draw::Dc& dc) {
  const ui::Rect client = GetClientRect();
  dc.FillSolidRect(client, draw::Rgb(255, 255, 255));
  std::string version;
  FileVersionInfo(nullptr).GetString(&version, 3);
  dc.SetBkMode(draw::TRANSPARENT);
  dc.SetTextColor(draw::Rgb(0, 0, 0));
  dc.TextOut(client.left + 12, client.top + 12, "QLM2_Analyzer");
  dc.TextOut(client.left + 12, client.bottom - 28, "P/N:  " + version);
}

void LyrAbout::OnLButtonDown(std::uint32_t, ui::Point) { DestroyWindow(); }

void LyrAbout::OnKeyDown(std::uint32_t, std::uint32_t, std::uint32_t) { DestroyWindow(); }

LyrAbout* OpenAboutWindow() {
  std::unique_ptr<LyrAbout>& about = AboutHolder();
  return about && about->IsWindow() ? about.get() : nullptr;
}

bool ShowAboutWindow() {
  if (OpenAboutWindow() != nullptr) return false;
  std::unique_ptr<LyrAbout>& about = AboutHolder();
  about = std::make_unique<LyrAbout>(1);
  const draw::ScreenMetrics screen = draw::GetScreenMetrics();
  const int left = (screen.widthPx - kAboutWidth) / 2;
  const int top = (screen.heightPx - kAboutHeight) / 2;
  if (!about->Create(nullptr, 0, ui::Rect{left, top, left + kAboutWidth, top + kAboutHeight})) {
    about.reset();
    return false;
  }
  about->SetWindowText("ABOUT");
  about->ShowWindow(ui::SW_SHOW);
  return true;
}
