#include "app/video/lyr_dlg_make_avi.h"

#include <new>

#include "app/video/avi_film_file.h"
#include "platform/draw/image.h"
#include "platform/system/clock.h"
#include "platform/ui/window_image.h"

std::int64_t LyrDlgMakeAvi::NowMs() const { return sys::MultimediaTimeMs(); }

bool LyrDlgMakeAvi::CaptureFrame() {
  const ui::Window* window = mainWindow_;
  if (window == nullptr) return false;
  try {
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
  AviFilmFrames film;
  film.width = FrameWidth;
  film.height = FrameHeight;
  film.bitsPerPixel = FrameBitsPerPixel;
  film.framesPerSecond = FilmRate();
  film.frames.swap(Frames);
  const bool written = !AviFilePath.empty() && WriteDibAviFile(AviFilePath, film);
  film.frames.swap(Frames);
  if (!written) FreeFrames();
  return written;
}
