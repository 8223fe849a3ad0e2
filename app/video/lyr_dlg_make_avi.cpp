#include "app/video/lyr_dlg_make_avi.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/video/avi_film_file.h"
#include "app/video/mjpeg_frame_encoder.h"
#include "platform/draw/image.h"
#include "platform/res/resource_store.h"
#include "platform/system/clock.h"
#include "platform/system/file_io.h"
#include "platform/system/system_info.h"
#include "platform/ui/app.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"
#include "platform/ui/window_image.h"

namespace {

constexpr std::uint32_t kIdsFileNotSelected = 2253;
constexpr std::uint32_t kIdsCodecUnusable = 2480;
constexpr std::uint32_t kIdsPleaseWait = 2491;
// The speed check grabs at this period (as fast as a 30 fps film needs).
constexpr std::uint32_t kSpeedCheckPeriodMs = 32;
// Frames are grabbed with 32 bits a pixel.
constexpr std::uint16_t kGrabBitsPerPixel = 32;
// What one RIFF file holds beside the headers.
constexpr std::uint64_t kRiffFrameRoom = 0xFFFFFFF0ull - 4096;

}  // namespace

LyrDlgMakeAvi::LyrDlgMakeAvi(ui::Window* parent) : ui::Dialog(IDD_MAKE_AVI, parent), mainWindow_(parent) {
  MapCommand(kPathButton, [this] { OnChoosePath(); });
  MapCommand(kCheck, [this] { OnSpeedCheck(); });
  MapNotify(kRateCombo, ui::CBN_SELCHANGE, [this] { OnRateChange(); });
}

bool LyrDlgMakeAvi::OnInitDialog() {
  FrameRate = 10;
  UpdateMaxTime();
  SetDlgItemText(kMaxFps, "");
  SetDlgItemText(kStatus, "");
  ui::Control combo = Item(kRateCombo);
  combo.ResetContent();
  for (const RateEntry& entry : kRates) {
    const int index = combo.AddString(entry.text);
    if (entry.rate == FrameRate) combo.SetCurSel(index);
  }
  Item(kProgress).SetRange(0, 100);
  ResetTiming();
  m_Capturing = 0;
  return true;
}

void LyrDlgMakeAvi::ResetTiming() {
  StartTimeMs = 0;
  LastTimeMs = -1;
  AccumulatedMs = 0;
  LargestIntervalMs = 0;
  StepCount = 0;
}

void LyrDlgMakeAvi::FilmSize(std::int32_t* width, std::int32_t* height) const {
  ui::Rect client;
  if (mainWindow_ != nullptr) client = mainWindow_->GetClientRect();
  *width = std::max(1, client.Width());
  *height = std::max(1, client.Height());
}

std::int64_t LyrDlgMakeAvi::MaxCaptureSeconds(std::uint64_t availableBytes, std::uint64_t frameBytes, int rate) {
  if (frameBytes == 0 || rate <= 0) return 0;
  const std::uint64_t usable = availableBytes / 100 * 80;
  return static_cast<std::int64_t>(usable / frameBytes / static_cast<std::uint64_t>(rate));
}

std::int32_t LyrDlgMakeAvi::MaxCaptureTime(int rate) const {
  std::int32_t width = 1, height = 1;
  FilmSize(&width, &height);
  const std::uint64_t frameBytes = AviFrameImageSize(width, height, kGrabBitsPerPixel);
  const auto memory = sys::GetMemoryStatus();
  std::int64_t seconds = MaxCaptureSeconds(memory ? memory->availablePhysicalBytes : 0, frameBytes, rate);
  if (Compressor.kind == AviCompressorChoice::Kind::FullFrames && frameBytes > 0) {
    // Grabs come a little faster than the rate; the film must still fit one file.
    const std::uint64_t framesInFile = kRiffFrameRoom / (frameBytes + 24);
    seconds = std::min<std::int64_t>(seconds, static_cast<std::int64_t>(framesInFile / static_cast<std::uint64_t>(rate + 1)));
  }
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(seconds, 0, 0x7FFFFFFF));
}

void LyrDlgMakeAvi::UpdateMaxTime() {
  MaxFilmSeconds = MaxCaptureTime(FrameRate);
  char text[32];
  std::snprintf(text, sizeof text, "%ldsec", static_cast<long>(MaxFilmSeconds));
  SetDlgItemText(kMaxTime, text);
}

int LyrDlgMakeAvi::RateForLongestInterval(std::int64_t longestMs) {
  const std::int64_t interval = std::clamp<std::int64_t>(longestMs, 1, 1000);
  const std::int64_t fps = 1000 / interval;
  int shown = kRates[0].rate;
  if (fps < 10) return shown;
  for (const RateEntry& entry : kRates)
    if (entry.rate <= fps) shown = std::max(shown, entry.rate);
  return shown;
}

void LyrDlgMakeAvi::OnChoosePath() {
  ui::FileDialog dlg(false, "avi", AviFilePath, ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                     "Audio Video Interleaving(*.avi)|*.avi||", this);
  if (dlg.DoModal() != ui::IDOK) return;
  AviFilePath = dlg.GetPathName();
  SetDlgItemText(kPathText, AviFilePath);
}

void LyrDlgMakeAvi::OnRateChange() {
  const int sel = Item(kRateCombo).GetCurSel();
  if (sel < 0 || sel >= static_cast<int>(std::size(kRates))) return;
  FrameRate = kRates[sel].rate;
  UpdateMaxTime();
}

bool LyrDlgMakeAvi::TestCompressor() const {
  std::int32_t width = 1, height = 1;
  FilmSize(&width, &height);
  if (Compressor.kind == AviCompressorChoice::Kind::MotionJpeg) {
    MjpegFrameEncoder encoder;
    if (!encoder.Open(width, height, kGrabBitsPerPixel, Compressor.quality)) return false;
  } else if (AviFrameImageSize(width, height, kGrabBitsPerPixel) == 0) {
    return false;
  }
  // The film's file must be writable; the test leaves nothing behind.
  sys::AtomicFileWriter probe;
  if (!probe.Open(AviFilePath)) return false;
  probe.Abort();
  return true;
}

int LyrDlgMakeAvi::ChooseCompressor() {
  AviCompressorChoice choice = Compressor;
  LyrDlgAviCompressor dlg(choice, mainWindow_ != nullptr ? mainWindow_ : this);
  if (dlg.DoModal() != ui::IDOK) return -1;
  Compressor = choice;
  return TestCompressor() ? 0 : -2;
}

void LyrDlgMakeAvi::OnOK() {
  if (m_Capturing != 0) return;
  if (AviFilePath.empty()) {
    ui::MessageBeep(ui::MB_OK);
    ui::MessageBox(res::LoadString(kIdsFileNotSelected));
    OnChoosePath();
    return;
  }
  const int sel = Item(kRateCombo).GetCurSel();
  if (sel >= 0 && sel < static_cast<int>(std::size(kRates))) FrameRate = kRates[sel].rate;
  ResetTiming();
  for (;;) {
    const int chosen = ChooseCompressor();
    if (chosen == -1) return;
    if (chosen == 0) break;
    ui::MessageBeep(ui::MB_OK);
    ui::MessageBox(res::LoadString(kIdsCodecUnusable));
  }
  // The compressor enters the longest film (full frames must fit one file).
  UpdateMaxTime();
  auto* frame = dynamic_cast<CMainFrame*>(mainWindow_);
  if (frame == nullptr) return;
  ShowWindow(ui::SW_HIDE);
  frame->RedrawRawFrames(-1);
  frame->AviRunning = 1;
  frame->SetTimer(kTimerAviCapture, CapturePeriodMs(FrameRate));
  m_Capturing = 1;
}

void LyrDlgMakeAvi::OnSpeedCheck() {
  if (m_Capturing != 0) return;
  auto* frame = dynamic_cast<CMainFrame*>(mainWindow_);
  if (frame == nullptr) return;
  ResetTiming();
  ui::WaitCursor wait;
  SetProgressPos(0);
  frame->AviRunning = 1;
  frame->SetTimer(kTimerAviSpeedCheck, kSpeedCheckPeriodMs);
  m_Capturing = 1;
  SetDlgItemText(kStatus, res::LoadString(kIdsPleaseWait));
  SetDlgItemText(kMaxFps, "");
}

void LyrDlgMakeAvi::OnCancel() {
  if (m_Capturing != 0) {
    // Esc (or Close) while the speed check runs ends the check at its next step; the window
    // stays until the check has cleaned up behind it.
    if (auto* frame = dynamic_cast<CMainFrame*>(mainWindow_)) frame->AviRunning = 0;
    return;
  }
  ui::Dialog::OnCancel();
}

void LyrDlgMakeAvi::ShowMeasuredRate() {
  SetProgressPos(0);
  char text[32];
  std::snprintf(text, sizeof text, "%ldfps", static_cast<long>(RateForLongestInterval(LargestIntervalMs)));
  SetDlgItemText(kMaxFps, text);
  SetDlgItemText(kStatus, "");
}

void LyrDlgMakeAvi::SetProgressPos(int percent) {
  ProgressPos = percent;
  Item(kProgress).SetPos(percent);
}

void LyrDlgMakeAvi::ShowCapturingText(const std::string& text) {
  StatusText = text;
  SetDlgItemText(kStatus, text);
}

std::int64_t LyrDlgMakeAvi::NowMs() const { return sys::MultimediaTimeMs(); }

bool LyrDlgMakeAvi::CaptureFrame() {
  const ui::Window* window = mainWindow_;
  if (window == nullptr) return false;
  try {
    // The client area, whatever the frame around it.
    const draw::Image shot = ui::RenderWindowImage(*window);
    if (shot.IsNull()) return false;
    std::vector<std::uint8_t> bits = shot.ToDibBits(false);
    FrameWidth = shot.Width();
    FrameHeight = shot.Height();
    FrameBitsPerPixel = static_cast<std::uint16_t>(shot.BitsPerPixel());
    Frames.push_back(std::move(bits));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

std::uint32_t LyrDlgMakeAvi::FilmRate() const {
  if (StepCount >= 1 && AccumulatedMs > 0) {
    const std::int64_t rate = static_cast<std::int64_t>(StepCount) * 1000 / AccumulatedMs;
    return rate < 1 ? 1u : static_cast<std::uint32_t>(rate);
  }
  return FrameRate > 0 ? static_cast<std::uint32_t>(FrameRate) : 1u;
}

bool LyrDlgMakeAvi::WriteAviFile() {
  ui::WaitCursor wait;
  SetProgressPos(0);
  bool written = false;
  if (!AviFilePath.empty() && Compressor.kind == AviCompressorChoice::Kind::MotionJpeg) {
    AviJpegFilm film;
    film.width = FrameWidth;
    film.height = FrameHeight;
    film.framesPerSecond = FilmRate();
    MjpegFrameEncoder encoder;
    bool encoded = !Frames.empty() && encoder.Open(FrameWidth, FrameHeight, FrameBitsPerPixel, Compressor.quality);
    try {
      film.frames.reserve(Frames.size());
      for (std::size_t i = 0; encoded && i < Frames.size(); ++i) {
        SetProgressPos(static_cast<int>(static_cast<double>(i) / static_cast<double>(Frames.size()) * 100.0));
        std::string jpeg;
        encoded = encoder.Encode(Frames[i].data(), Frames[i].size(), &jpeg);
        film.frames.push_back(std::move(jpeg));
        // The compressed frame replaces the captured one.
        std::vector<std::uint8_t>().swap(Frames[i]);
      }
    } catch (const std::bad_alloc&) {
      encoded = false;
    }
    written = encoded && WriteMjpegAviFile(AviFilePath, film);
  } else if (!AviFilePath.empty()) {
    AviFilmFrames film;
    film.width = FrameWidth;
    film.height = FrameHeight;
    film.bitsPerPixel = FrameBitsPerPixel;
    film.framesPerSecond = FilmRate();
    film.frames.swap(Frames);
    written = WriteDibAviFile(AviFilePath, film);
    film.frames.swap(Frames);
  }
  SetProgressPos(0);
  if (!written) FreeFrames();
  return written;
}
