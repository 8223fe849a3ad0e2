// Pictures of the learning dialogs in English and Japanese: Select Learning File with five
// learning-sample files of the generated night (their subjects differ), the Learning dialog
// with its bar part-way, and Input Item with the open recording's items.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/scoring/learning_sample_file.h"
#include "app/scoring/lyr_dlg_input_item.h"
#include "app/scoring/lyr_dlg_learning.h"
#include "app/scoring/lyr_dlg_select_learning_file.h"
#include "platform/res/resource_store.h"
#include "platform/system/file_io.h"
#include "platform/testing/ui_testing.h"
#include "shots.h"

namespace {

bool Render(ui::Dialog& dlg, const std::string& path) {
  testhooks::ProcessMessages();
  const bool ok = testhooks::RenderWindowToPng(dlg, path);
  std::printf("%s\n", path.c_str());
  dlg.DestroyWindow();
  return ok;
}

// Five learning-sample files of the open night, as five subjects' nights would be.
std::string WriteFolder(ShotContext& c) {
  const std::string folder = c.out + "/learning_files";
  std::filesystem::create_directories(folder);
  const char* names[] = {"Sato Hanako", "Suzuki Ichiro", "Tanaka Yuki", "Ito Ken", "Mori Aya"};
  const char* sexes[] = {"female", "male", "female", "male", "female"};
  LyrAutoStaging staging;
  const int epochs = c.doc.EpochTables.EpochCount();
  for (int i = 0; i < 5; ++i) {
    LyrLearningInfo& info = staging.LearningInfo();
    info.day = "2026/0" + std::to_string(i + 1) + "/12";
    info.no = std::to_string(100 + i);
    info.service = i < 3 ? "Sleep" : "Neurology";
    info.engineer = i % 2 ? "Kato" : "Abe";
    info.doctor = "Yamada";
    info.name = names[i];
    info.id = "P" + std::to_string(2040 + i);
    info.sex = sexes[i];
    info.age = 30 + 7 * i;
    info.height = 155.0 + 4.5 * i;
    info.weight = 50.0 + 6.0 * i;
    const LearningSampleSource src{c.recording, c.doc.EpochTables, c.doc.Params.waveForm, static_cast<std::uint16_t>(i == 4 ? 1 : 0),
                                   staging, 30};
    std::string file;
    if (epochs > 0 && BuildLearningSampleFile(src, 0, epochs - 1, &file))
      sys::WriteFileAtomic(folder + "/night_" + std::to_string(i + 1) + ".msf", file);
  }
  return folder;
}

bool ShootLanguage(ShotContext& c, const std::string& folder, res::Language language, const std::string& suffix) {
  res::SetLanguage(language);
  bool ok = true;

  LyrDlgSelectLearningFile select;
  select.modelFolder = folder;
  select.parameters.pathTableSize = 20;
  select.parameters.cumulativeThreshold = 0.8;
  select.parameters.selectionLimit = 10;
  select.displayItems.fill(1);
  select.learningInfo.recordingFile = std::filesystem::path(c.recording).filename().string();
  select.learningInfo.no = "101";
  select.learningInfo.service = "Sleep";
  select.learningInfo.engineer = "Kato";
  select.learningInfo.sex = "male";
  select.learningInfo.epochTime = 30;
  if (select.CreateModeless(&c.frame)) {
    ui::Control candidates = select.Item(LyrDlgSelectLearningFile::IDC_CANDIDATES);
    if (candidates.GetCount() > 1) {
      candidates.SetSelected(0, true);
      select.ClickButton(LyrDlgSelectLearningFile::IDC_SELECT);
      candidates.SetSelected(0, true);
    }
    ok = Render(select, c.out + "/learning_select" + suffix + ".png") && ok;
  } else {
    ok = false;
  }

  LyrDlgLearning learning;
  if (learning.CreateModeless(&c.frame)) {
    learning.Item(LyrDlgLearning::IDC_PROGRESS).SetRange(0, 14);
    learning.Item(LyrDlgLearning::IDC_PROGRESS).SetPos(5);
    ok = Render(learning, c.out + "/learning_run" + suffix + ".png") && ok;
  } else {
    ok = false;
  }

  LyrDlgInputItem input;
  input.record.Day = "2026/12/11";
  input.record.No = "101";
  input.record.Service = "Sleep";
  input.record.Engineer = "Kato";
  input.record.Doctor = "Yamada";
  input.record.EpochTime = 30;
  input.record.Name = "Suzuki Ichiro";
  input.record.ID = "P2041";
  input.record.Age = 37;
  input.record.Sex = "male";
  input.record.Height = 172.5;
  input.record.Weight = 68.0;
  if (input.CreateModeless(&c.frame)) {
    ok = Render(input, c.out + "/learning_input_item" + suffix + ".png") && ok;
  } else {
    ok = false;
  }
  return ok;
}

bool ShootLearning(ShotContext& c) {
  const std::string folder = WriteFolder(c);
  bool ok = ShootLanguage(c, folder, res::Language::Japanese, "_ja");
  ok = ShootLanguage(c, folder, res::Language::English, "") && ok;
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  return ok;
}

ShotRegistrar reg("learning_run", ShootLearning);

}  // namespace
