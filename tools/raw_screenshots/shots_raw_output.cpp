// Pictures of the raw data outputs, opened from the File menu's commands on the generated
// night: "Raw Data Output" with two channels chosen, "Text output", and the printed raw page
// (printed to a PDF file and turned into a picture), in English and Japanese.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/frame/main_frame.h"
#include "app/frame/window_command_states.h"
#include "app/raw/lyr_raw_dlg_text_output.h"
#include "app/results/lyr_dlg_raw_data_output.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/command.h"
#include "platform/ui/dialog.h"
#include "tools/raw_screenshots/shots.h"

namespace {

bool ShootDialog(ShotContext& c, int templateId, std::uint32_t command, const std::string& png,
                 void (*arrange)(ui::Dialog&)) {
  bool shot = false;
  testhooks::ScriptDialog(templateId, [&](ui::Dialog& d) {
    if (arrange != nullptr) arrange(d);
    shot = testhooks::RenderWindowToPng(d, png);
    testhooks::ClickControl(d, ui::IDCANCEL);
  });
  ui::ExecuteCommand(c.frame, command);
  return shot;
}

bool ShootLanguage(ShotContext& c, const std::string& suffix) {
  bool ok = ShootDialog(c, LyrDlgRawDataOutput::kTemplateId, ID_RAW_DATA_OUTPUT, c.out + "/raw_data_output" + suffix + ".png",
                        [](ui::Dialog& d) {
                          auto& dlg = dynamic_cast<LyrDlgRawDataOutput&>(d);
                          dlg.m_Path = "/home/lab/nights/2024-04-12 cut.fyd";
                          dlg.SetDlgItemText(LyrDlgRawDataOutput::kPathText, dlg.m_Path);
                          dlg.Item(LyrDlgRawDataOutput::kChannelList).SetSelected(0, true);
                          dlg.Item(LyrDlgRawDataOutput::kChannelList).SetSelected(2, true);
                          dlg.CheckDlgButton(LyrDlgRawDataOutput::kResultCheck, 1);
                        });
  ok = ShootDialog(c, LyrRawDlgTextOutput::kTemplateId, ID_RAW_TEXT_OUTPUT, c.out + "/raw_text_output" + suffix + ".png",
                   nullptr) &&
       ok;
  // The printed page: to a PDF file through the print dialog, then a picture of its page.
  const std::string pdf = c.out + "/raw_print" + suffix + ".pdf";
  testhooks::AnswerPrintDialog(ui::IDOK, pdf);
  ui::ExecuteCommand(c.frame, ID_PRINT_RAW);
  const std::string stem = c.out + "/raw_print" + suffix;
  ok = std::filesystem::exists(pdf) &&
       std::system(("pdftoppm -png -r 60 -singlefile '" + pdf + "' '" + stem + "'").c_str()) == 0 && ok;
  std::filesystem::remove(pdf);
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
