// Pictures of the raw data outputs on the generated night: "Raw Data Output" with two channels
// chosen, "Text output", and the raw page as printed (a page of the print preview), in English
// and Japanese.
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/raw/lyr_raw_dlg_text_output.h"
#include "app/raw/raw_dummy_view.h"
#include "app/results/hypnogram_printing.h"
#include "app/results/lyr_dlg_raw_data_output.h"
#include "platform/draw/print.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "tools/raw_screenshots/shots.h"

namespace {

template <typename Dialog, typename Arrange>
bool ShootDialog(ShotContext& c, const std::string& png, Arrange arrange) {
  Dialog dlg(&c.doc, &c.frame);
  if (!dlg.CreateModeless(&c.frame)) return false;
  arrange(dlg);
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(dlg, png);
  dlg.DestroyWindow();
  return ok;
}

bool ShootPrintedPage(ShotContext& c, const std::string& png) {
  LyrRawDummyView* view = c.frame.RawView();
  if (view == nullptr) return false;
  std::unique_ptr<draw::PrintJob> job = draw::PrintJob::OpenPreview(draw::PageSetup{}, 96);
  if (!job || job->StartPage() != draw::PrintStatus::Ok) return false;
  ::OnBeginPrinting(job->GetDc());
  view->PrintRawWindow(job->GetDc(), job->PageRect());
  ::OnEndPrinting();
  job->EndPage();
  job->EndDoc();
  const draw::Image* page = job->PreviewPage(0);
  return page != nullptr && page->SavePng(png);
}

bool ShootLanguage(ShotContext& c, const std::string& suffix) {
  bool ok = ShootDialog<LyrDlgRawDataOutput>(c, c.out + "/raw_data_output" + suffix + ".png", [](LyrDlgRawDataOutput& d) {
    d.m_Path = "/home/lab/nights/2024-04-12 cut.fyd";
    d.SetDlgItemText(LyrDlgRawDataOutput::kPathText, d.m_Path);
    d.Item(LyrDlgRawDataOutput::kChannelList).SetSelected(0, true);
    d.Item(LyrDlgRawDataOutput::kChannelList).SetSelected(2, true);
    d.CheckDlgButton(LyrDlgRawDataOutput::kResultCheck, 1);
  });
  ok = ShootDialog<LyrRawDlgTextOutput>(c, c.out + "/raw_text_output" + suffix + ".png", [](LyrRawDlgTextOutput&) {}) && ok;
  ok = ShootPrintedPage(c, c.out + "/raw_print" + suffix + ".png") && ok;
  return ok;
}

bool Shoot(ShotContext& c) {
  bool ok = ShootLanguage(c, "");
  res::SetLanguage(res::Language::Japanese);
  ok = ShootLanguage(c, "_ja") && ok;
  res::SetLanguage(res::Language::English);
  return ok;
}

ShotRegistrar reg("raw_output", Shoot);

}  // namespace
