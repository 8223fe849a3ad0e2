#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/fyn_message.h"
#include "common/topomap/fyn_compl_formula.h"
#include "common/topomap/fyn_topomap.h"

namespace {

constexpr int kE = fyn_topo::kElectrodes;
using namespace fyn_compl;

struct Tables {
  std::array<std::vector<float>, kE> constants;
  std::array<int, kE> types{};
  std::array<int, kE> channels{};
  std::array<float, kE> values{};
  std::array<std::string, kE> formulas;
  std::array<std::vector<std::uint8_t>, kE> compiled;
  FynComplFormula Formula(int channelCount) {
    return FynComplFormula(constants.data(), types.data(), formulas.data(), channels.data(), channelCount,
                           values.data(), compiled.data());
  }
};

std::string Repeat(const std::string& part, int times) {
  std::string s;
  for (int k = 0; k < times; ++k) s += part;
  return s;
}

TEST(ComplFormula, Checks) {
  struct Case {
    std::string formula;
    int electrode;  // index 0..18
    int channels;
    int code;
    int position;
  };
  const Case cases[] = {
      {"([1]+[5]+[11]+[17])/4", 2, 12, kAccepted, 0},
      {" -[1] * 2.5 + <12>", 4, 12, kAccepted, 0},
      {"(-[1])^2", 4, 12, kAccepted, 0},
      {"[1]+a", 4, 12, kBadChar, 4},
      {"[1]+<2>;", 4, 12, kBadChar, 7},
      {"*[1]", 4, 12, kBadStart, 0},
      {"  )", 4, 12, kBadStart, 0},
      {"[3]+1", 2, 12, kBadChar, 1},  // the electrode itself
      {"[20]", 2, 12, kBadChar, 1},
      {"[0]", 2, 12, kBadChar, 1},
      {"<13>", 2, 12, kBadChar, 1},
      {"<33>", 2, 40, kBadChar, 1},   // beyond the channel codes of the compiled form
      {"[123]", 2, 12, kBadChar, 1},
      {"[]", 2, 12, kBadChar, 1},
      {"[[1]", 2, 12, kNestedBracket, 1},
      {"[1+]", 2, 12, kOperatorInRef, 2},
      {"<(1>", 2, 12, kParenInRef, 1},
      {"[1>", 2, 12, kParenInRef, 2},
      {"[1.]", 2, 12, kPointInRef, 2},
      {"[1 ]", 2, 12, kBlankInRef, 2},
      {"[1", 2, 12, kUnclosedRef, 0},
      {"1]", 2, 12, kUnclosedRef, 1},
      {"[1]+", 2, 12, kBadOperator, 4},
      {"[1]*/2", 2, 12, kBadOperator, 4},
      {"[1](2)", 2, 12, kBadOperator, 3},
      {"()", 2, 12, kBadOperator, 1},
      {"", 2, 12, kBadOperator, 0},
      {"([1]", 2, 12, kUnbalanced, 4},
      {"[1])", 2, 12, kUnbalanced, 3},
      {"1.2.3", 2, 12, kPointInRef, 3},
      // The compiled form addresses 109 numbers and the evaluation holds 49 values.
      {"1" + Repeat("+1", 108), 2, 12, kAccepted, 0},
      {"1" + Repeat("+1", 109), 2, 12, kTooManyConstants, 218},
      {"1" + Repeat("^1", 48), 2, 12, kAccepted, 0},
      {"1" + Repeat("^1", 49), 2, 12, kTooDeep, 98},
  };
  for (const Case& c : cases) {
    int position = -1;
    EXPECT_EQ(CheckFormula_InvalidChar(c.formula, c.electrode, c.channels, &position), c.code) << c.formula;
    EXPECT_EQ(position, c.position) << c.formula;
  }
}

TEST(ComplFormula, FixedNumbers) {
  int position = -1;
  EXPECT_EQ(CheckValue("-12.5", &position), kAccepted);
  EXPECT_EQ(CheckValue("1e5", &position), -1);
  EXPECT_EQ(position, 1);
}

TEST(ComplFormula, StandardTwelveChannelSetCompilesSevenFormulas) {
  Tables t;
  FynComplFormula f = t.Formula(12);
  f.SetStandard12Ch();
  EXPECT_EQ(f.GoThrough(), 0);
  int formulas = 0;
  for (int e = 0; e < kE; ++e) {
    if (t.types[e] != fyn_topo::kTypeFormula) continue;
    ++formulas;
    EXPECT_FALSE(t.compiled[e].empty()) << e;
  }
  EXPECT_EQ(formulas, 7);
  // F3: electrodes 1, 5, 11, 17 added up, then divided by the constant 4.
  const std::vector<std::uint8_t> f3 = {128, 132, '+', 138, '+', 144, '+', 147, '/'};
  EXPECT_EQ(t.compiled[2], f3);
  EXPECT_EQ(t.constants[2], std::vector<float>{4.0f});
  EXPECT_EQ(t.types[18], fyn_topo::kTypeChannel);
  EXPECT_EQ(t.channels[18], 11);

  f.SetStandard16Ch();
  EXPECT_EQ(t.types[2], fyn_topo::kTypeChannel);
  EXPECT_EQ(t.channels[2], 2);
  EXPECT_EQ(t.channels[18], 15);
  EXPECT_EQ(t.formulas[12], "([11]+[15])/2");
}

class FormulaFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() / ("qlm_formula_" + std::to_string(::getpid()) + ".FYH")).string();
    fyn::ClearLastMessage();
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::string path_;
};

TEST_F(FormulaFile, WrittenSettingsReadBackIntoEveryElectrode) {
  Tables a;
  FynComplFormula fa = a.Formula(16);
  fa.SetStandard12Ch();
  a.types[5] = fyn_topo::kTypeNumber;
  a.values[5] = -3.25f;
  a.values[0] = 1.5f;
  ASSERT_TRUE(fa.WriteSettings(path_));
  {
    std::ifstream in(path_);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "Fp1 : 0,0,\"\",1.500000");
  }
  Tables b;
  FynComplFormula fb = b.Formula(16);
  ASSERT_TRUE(fb.ReadSettings(path_));
  EXPECT_EQ(b.types, a.types);
  EXPECT_EQ(b.channels, a.channels);
  EXPECT_EQ(b.formulas, a.formulas);
  EXPECT_EQ(b.values, a.values);
  EXPECT_EQ(fyn::LastMessage(), "");
}

TEST_F(FormulaFile, NamesAreMatchedWithoutCaseAndCommentsSkipped) {
  std::ofstream(path_) << "; comment : 1,2,\"x\",3\n  cz : -1,0,\"[5]+[6]\",0.000000\r\nPZ:-2,0,\"\",7.5\n";
  Tables t;
  FynComplFormula f = t.Formula(16);
  ASSERT_TRUE(f.ReadSettings(path_));
  EXPECT_EQ(t.types[17], fyn_topo::kTypeFormula);
  EXPECT_EQ(t.formulas[17], "[5]+[6]");
  EXPECT_EQ(t.types[18], fyn_topo::kTypeNumber);
  EXPECT_FLOAT_EQ(t.values[18], 7.5f);
}

TEST_F(FormulaFile, BadFilesChangeNothingAndSayFileError) {
  const char* bad[] = {
      "Fp1 : 0,1,\"\",0.0\nFp2 : 0,16,\"\",0.0\n",  // channel 17 of 16
      "Fp1 : 0,x,\"\",0.0\n",
      "Fp1 : 0,1,\"\n",
  };
  for (const char* text : bad) {
    std::ofstream(path_, std::ios::trunc) << text;
    Tables t;
    t.channels.fill(3);
    FynComplFormula f = t.Formula(16);
    fyn::ClearLastMessage();
    EXPECT_FALSE(f.ReadSettings(path_)) << text;
    EXPECT_EQ(fyn::LastMessage(), "ファイルエラー");
    EXPECT_EQ(t.channels[0], 3) << text;
  }
  Tables t;
  FynComplFormula f = t.Formula(16);
  fyn::ClearLastMessage();
  EXPECT_FALSE(f.ReadSettings(path_ + ".missing"));
  EXPECT_EQ(fyn::LastMessage(), "ファイルエラー");
  EXPECT_FALSE(f.WriteSettings("/nonexistent-folder/x.FYH"));
}

}  // namespace
