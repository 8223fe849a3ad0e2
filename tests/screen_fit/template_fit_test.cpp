// Every dialog template, in both languages, built as the platform lays it out: each control's
// text fits the control at the dialog's font and every control lies inside its dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/res/resource_store.h"
#include "platform/res/ui_resource.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "platform/ui/dialog.h"

namespace {

std::vector<std::uint32_t> TemplateIds(res::Language lang) {
  std::vector<std::uint32_t> ids;
  const std::string prefix = std::string(res::LanguageFolder(lang)) + "/dialogs/";
  for (std::string_view path : res::FilesUnder(prefix)) {
    std::string_view name = path.substr(prefix.size());
    name = name.substr(0, name.find('.'));
    ids.push_back(static_cast<std::uint32_t>(std::stoul(std::string(name))));
  }
  return ids;
}

class TemplateFit : public ::testing::TestWithParam<res::Language> {
 protected:
  void SetUp() override {
    ui::EnsureToolkit();
    res::SetLanguage(GetParam());
    testhooks::Reset();
  }
  void TearDown() override {
    res::SetLanguage(res::Language::English);
    testhooks::Reset();
  }
};

TEST_P(TemplateFit, EveryControlShowsItsWholeText) {
  const std::vector<std::uint32_t> ids = TemplateIds(GetParam());
  ASSERT_GT(ids.size(), 40u);
  for (std::uint32_t id : ids) {
    std::string error;
    const auto tmpl = res::LoadDialogResource(id, static_cast<std::uint16_t>(GetParam()), &error);
    ASSERT_TRUE(tmpl) << error;
    ui::Dialog dlg(*tmpl);
    ASSERT_TRUE(dlg.CreateModeless(nullptr)) << id;
    // The window can be made small enough for a 1366 x 768 screen, title bar included.
    const ui::Size least = testhooks::MinimumWindowSize(dlg);
    EXPECT_LE(least.cx, 1366) << "template " << id;
    EXPECT_LE(least.cy, 768 - 32) << "template " << id;
    for (const auto& p : testhooks::FindUnfittedControls(dlg))
      ADD_FAILURE() << "template " << id << ", control " << p.controlId << " \"" << p.text << "\": " << p.problem;
    dlg.DestroyWindow();
  }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, TemplateFit,
                         ::testing::Values(res::Language::English, res::Language::Japanese),
                         [](const auto& info) { return info.param == res::Language::English ? "English" : "Japanese"; });

}  // namespace
