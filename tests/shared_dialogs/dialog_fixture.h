#pragma once
// A document of a 30-hour recording that starts on 30 January 2021 at 22:00, for the dialog
// tests.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"

// The control ids of a dialog template, nested groups and rows included (the two languages'
// templates of one dialog must carry the same set).
inline std::set<int> TemplateControlIds(const std::vector<res::DialogNode>& nodes) {
  std::set<int> ids;
  for (const auto& n : nodes) {
    if (n.id > 0) ids.insert(n.id);
    ids.merge(TemplateControlIds(n.children));
  }
  return ids;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::EnsureToolkit();
    res::SetLanguage(res::Language::English);
    testhooks::Reset();
    EpochSeconds = 30;
    ClockTimeDisplay = 1;
    ResultModifiedState = 0;
    RawPreviewMode = 0;
    doc.RecordInfo.channelCount = 2;
    doc.RecordInfo.startTimeValid = 1;
    doc.RecordInfo.startDateTime = {2021, 1, 30, 22, 0, 0, 0};
    doc.ChInfo[0].name = "EEG";
    doc.ChInfo[0].rate = 100;
    doc.ChInfo[0].dataCount = 100u * 108000u;
    doc.ChInfo[1].name = "EMG";
    doc.ChInfo[1].rate = 200;
    doc.ChInfo[1].dataCount = 200u * 108000u;
    doc.RecordSeconds = 108000;
  }
  void TearDown() override { testhooks::Reset(); }

  CQLM2_AnalyzerDoc doc;
};
