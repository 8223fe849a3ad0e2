// The formula dialogs driven by control id.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/topomap/fyn_compl_dlg.h"
#include "common/topomap/fyn_topomap.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"

namespace {

constexpr int kE = fyn_topo::kElectrodes;

class ComplDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    testhooks::Reset();
    for (int e = 0; e < kE; ++e) channels[e] = e % 12;
  }
  void TearDown() override { testhooks::Reset(); }
  int Run() {
    FynComplDlg dlg(nullptr, constants.data(), types.data(), formulas.data(), channels.data(), channelCount, values.data(),
                    compiled.data());
    const int code = dlg.DoModal();
    selection = {dlg.SelectionStart(), dlg.SelectionEnd()};
    return code;
  }
  std::array<std::vector<float>, kE> constants;
  std::array<int, kE> types{};
  std::array<int, kE> channels{};
  std::array<float, kE> values{};
  std::array<std::string, kE> formulas;
  std::array<std::vector<std::uint8_t>, kE> compiled;
  std::pair<int, int> selection;
  int channelCount = 12;
};

TEST_F(ComplDialog, StandardTwelveChannelSetCompilesAtOk) {
  testhooks::ScriptDialog(Fyn_IDD_COMPL_001, [](ui::Dialog& d) {
    EXPECT_EQ(d.GetWindowText(), "補完式");
    EXPECT_EQ(d.GetDlgItemText(1022), "<Channel 1>");
    d.ClickButton(FynComplDlg::kStandard12);
    EXPECT_EQ(d.GetDlgItemText(1024), "([1]+[5]+[11]+[17])/4");  // F3
    EXPECT_EQ(d.GetDlgItemText(1040), "<Channel 12>");           // Pz
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(Run(), ui::IDOK);
  int formulaCount = 0;
  for (int e = 0; e < kE; ++e) formulaCount += types[e] == fyn_topo::kTypeFormula && !compiled[e].empty();
  EXPECT_EQ(formulaCount, 7);
  EXPECT_EQ(compiled[2], (std::vector<std::uint8_t>{128, 132, '+', 138, '+', 144, '+', 147, '/'}));
  EXPECT_EQ(constants[2], std::vector<float>{4.0f});
}

TEST_F(ComplDialog, ALetterInAFormulaKeepsTheDialogOpenWithTheLetterSelected) {
  types[13] = fyn_topo::kTypeFormula;  // T4, edit 1035
  formulas[13] = "([12]+[16])/2";
  types[5] = fyn_topo::kTypeNumber;    // C4, edit 1027
  bool stayedOpen = false;
  testhooks::ScriptDialog(Fyn_IDD_COMPL_001, [&](ui::Dialog& d) {
    d.SetDlgItemText(1035, "([12]+x[16])/2");
    d.ClickButton(ui::IDOK);
    stayedOpen = !d.IsEnded();
    d.SetDlgItemText(1035, "([12]+[16])/2");
    d.SetDlgItemText(1027, "-2.5");
    d.ClickButton(ui::IDOK);
  });
  ASSERT_EQ(Run(), ui::IDOK);
  EXPECT_TRUE(stayedOpen);
  EXPECT_FLOAT_EQ(values[5], -2.5f);
  EXPECT_FALSE(compiled[13].empty());
  // The selection of the refusal stays from the first OK: the "x" at 6.
  testhooks::ScriptDialog(Fyn_IDD_COMPL_001, [](ui::Dialog& d) {
    d.SetDlgItemText(1035, "([12]+x[16])/2");
    d.ClickButton(ui::IDOK);
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(Run(), ui::IDCANCEL);
  EXPECT_EQ(selection, std::make_pair(6, 7));
}

TEST_F(ComplDialog, ElectrodeButtonChoosesTypeAndChannel) {
  testhooks::ScriptDialog(Fyn_IDD_COMPL_DATATYPE_001, [](ui::Dialog& d) {
    EXPECT_EQ(d.IsDlgButtonChecked(FynCDataTypeDlg::kChannel), 1);
    d.ClickButton(ui::IDOK);
  });
  testhooks::ScriptDialog(Fyn_IDD_COMPL_CHSEL_001, [](ui::Dialog& d) {
    EXPECT_EQ(d.Item(FynCChDlg::kCombo).GetCount(), 12);
    EXPECT_EQ(d.Item(FynCChDlg::kCombo).GetCurSel(), 2);
    d.Item(FynCChDlg::kCombo).SetCurSel(7);
    d.ClickButton(ui::IDOK);
  });
  testhooks::ScriptDialog(Fyn_IDD_COMPL_DATATYPE_001, [](ui::Dialog& d) {
    d.CheckRadioButton(FynCDataTypeDlg::kChannel, FynCDataTypeDlg::kNumber, FynCDataTypeDlg::kNumber);
    d.ClickButton(ui::IDOK);
  });
  testhooks::ScriptDialog(Fyn_IDD_COMPL_001, [](ui::Dialog& d) {
    d.ClickButton(1003);  // F3 on the head
    EXPECT_EQ(d.GetDlgItemText(1024), "<Channel 8>");
    d.ClickButton(1009);  // Cz
    EXPECT_EQ(d.GetDlgItemText(1039), "0.000000");
    d.ClickButton(ui::IDCANCEL);
  });
  EXPECT_EQ(Run(), ui::IDCANCEL);
  EXPECT_EQ(types[2], fyn_topo::kTypeChannel);
  EXPECT_EQ(channels[2], 7);
  EXPECT_EQ(types[17], fyn_topo::kTypeNumber);
  EXPECT_EQ(FynComplDlg::ElectrodeOfButton(1002), 10);  // F7
  EXPECT_EQ(FynComplDlg::ElectrodeOfButton(1018), 9);   // O2
  EXPECT_EQ(FynComplDlg::ElectrodeOfButton(1019), -1);
}

TEST_F(ComplDialog, SettingsFileThroughTheFileDialogs) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("qlm_compl_dlg_" + std::to_string(::getpid()) + ".FYH")).string();
  channelCount = 16;
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  testhooks::ScriptDialog(Fyn_IDD_COMPL_001, [](ui::Dialog& d) {
    d.ClickButton(FynComplDlg::kStandard16);
    d.ClickButton(FynComplDlg::kWrite);
    d.ClickButton(FynComplDlg::kStandard12);
    d.ClickButton(FynComplDlg::kRead);
    d.ClickButton(ui::IDCANCEL);
  });
  testhooks::AnswerFileDialog(ui::IDOK, {path});
  Run();
  std::filesystem::remove(path);
  EXPECT_EQ(types[2], fyn_topo::kTypeChannel) << "the 16-channel set read back";
  EXPECT_EQ(channels[18], 15);
}

}  // namespace
