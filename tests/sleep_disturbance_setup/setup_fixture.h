#pragma once
// The setup window on a document of eight channels without the program around it, in the
// menu context (0) or the screening context (1).
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "platform/res/resource_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/messages.h"

class SetupPages : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::EnsureToolkit();
    res::SetLanguage(res::Language::English);
    testhooks::Reset();
    savedEpoch_ = EpochSeconds;
    savedPage_ = PageSeconds;
    EpochSeconds = 30;
    PageSeconds = 120;
    PreviewKind = 0;
    RawPreviewMode = 0;
    doc.RecordInfo.channelCount = 8;
    const char* names[] = {"C3", "C4", "EOG", "Chin", "ECG", "Airflow", "Thorax", "SpO2"};
    for (int c = 0; c < 8; ++c) {
      doc.ChInfo[static_cast<std::size_t>(c)].name = names[c];
      doc.ChInfo[static_cast<std::size_t>(c)].unit = c == 7 ? "%" : "uV";
      doc.ChInfo[static_cast<std::size_t>(c)].rate = 100;
      doc.ChInfo[static_cast<std::size_t>(c)].dataCount = 100u * 3600u;
    }
    doc.RecordSeconds = 3600;
    SetDefaultSleepDstrbParam(0, &doc.Params.sleepDstrb, 8);
  }
  void TearDown() override {
    Close();
    EpochSeconds = savedEpoch_;
    PageSeconds = savedPage_;
    PreviewKind = 0;
    RawPreviewMode = 0;
    testhooks::Reset();
  }

  LyrRawDlgSleepDisturbanceParent& Open(int caller) {
    Close();
    dlg_ = std::make_unique<LyrRawDlgSleepDisturbanceParent>(&doc, caller);
    EXPECT_TRUE(dlg_->CreateModeless(nullptr));
    return *dlg_;
  }
  void Close() {
    if (dlg_ && dlg_->IsWindow()) dlg_->DestroyWindow();
    dlg_.reset();
  }
  LyrRawDlgSleepDisturbanceResp& Resp() { return dlg_->m_RespPage; }
  LyrRawDlgSleepDisturbanceMove& Move() { return dlg_->m_MovePage; }
  SleepDstrbParam& Block() { return doc.Params.sleepDstrb; }

  static void Choose(ui::Dialog& page, int combo, int index) {
    page.Item(combo).SetCurSel(index);
    page.SendMessage(ui::WM_COMMAND, ui::MakeLong(static_cast<std::uint16_t>(combo), ui::CBN_SELCHANGE), 0);
  }
  static std::vector<std::string> Entries(const ui::Dialog& page, int combo) {
    std::vector<std::string> v;
    for (int i = 0; i < page.Item(combo).GetCount(); ++i) v.push_back(page.Item(combo).GetString(i));
    return v;
  }
  static std::string LastBox() {
    const auto& boxes = testhooks::ShownMessageBoxes();
    return boxes.empty() ? std::string() : boxes.back().text;
  }

  CQLM2_AnalyzerDoc doc;
  std::unique_ptr<LyrRawDlgSleepDisturbanceParent> dlg_;
  int savedEpoch_ = 0;
  int savedPage_ = 0;
};
