// The film window ("Make AVI file") with a chosen file, 15 fps and a finished speed check, and
// the compressor choice with Motion-JPEG, in English and Japanese.
#include <cstdio>

#include "app/frame/main_frame.h"
#include "app/video/lyr_dlg_avi_compressor.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "shots.h"

namespace {

bool Save(ui::Window& w, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(w, path);
  std::printf("%s: %s\n", path.c_str(), ok ? "written" : "FAILED");
  return ok;
}

bool ShootDialogs(ShotContext& c, res::Language language, const std::string& suffix) {
  res::SetLanguage(language);
  bool ok = true;
  LyrDlgMakeAvi film(&c.frame);
  if (film.CreateModeless(&c.frame)) {
    film.AviFilePath = "/home/lab/films/night_0412.avi";
    film.SetDlgItemText(LyrDlgMakeAvi::kPathText, film.AviFilePath);
    film.Item(LyrDlgMakeAvi::kRateCombo).SetCurSel(2);
    film.OnRateChange();
    film.LargestIntervalMs = 45;
    film.ShowMeasuredRate();
    film.SetProgressPos(40);
    ok = Save(film, c.out + "/avi_make_film" + suffix + ".png") && ok;
    film.DestroyWindow();
  }
  AviCompressorChoice choice;
  choice.kind = AviCompressorChoice::Kind::MotionJpeg;
  choice.quality = 85;
  LyrDlgAviCompressor compressor(choice, &c.frame);
  if (compressor.CreateModeless(&c.frame)) {
    ok = Save(compressor, c.out + "/avi_compressor" + suffix + ".png") && ok;
    compressor.DestroyWindow();
  }
  return ok;
}

bool ShootAviFilm(ShotContext& c) {
  const bool japanese = res::CurrentLanguage() == res::Language::Japanese;
  bool ok = ShootDialogs(c, res::Language::Japanese, "_ja");
  ok = ShootDialogs(c, res::Language::English, "") && ok;
  res::SetLanguage(japanese ? res::Language::Japanese : res::Language::English);
  return ok;
}

const ShotRegistrar kAviFilm("avi_film", ShootAviFilm);

}  // namespace
