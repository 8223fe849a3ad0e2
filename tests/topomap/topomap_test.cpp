#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include <unistd.h>

#include "common/fyn_message.h"
#include "common/topomap/fyn_compl_formula.h"
#include "common/topomap/fyn_topomap.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"

namespace {

constexpr int kE = fyn_topo::kElectrodes;

// The caller's electrode tables, every electrode on its own channel.
struct Tables {
  std::array<std::vector<float>, kE> constants;
  std::array<int, kE> types{};
  std::array<int, kE> channels{};
  std::array<float, kE> values{};
  std::array<std::string, kE> formulas;
  std::array<std::vector<std::uint8_t>, kE> compiled;
  std::array<float, 32> channelData{};
  Tables() {
    for (int e = 0; e < kE; ++e) channels[e] = e;
  }
  int Run(Fyn_Set7x7GridData& map) {
    map.Init(constants.data(), types.data(), channels.data(), values.data(), compiled.data(), channelData.data());
    return map.Create();
  }
  FynComplFormula Formula(int channelCount = 16) {
    return FynComplFormula(constants.data(), types.data(), formulas.data(), channels.data(), channelCount,
                           values.data(), compiled.data());
  }
  void SetFormula(int e, const char* text) {
    types[e] = fyn_topo::kTypeFormula;
    formulas[e] = text;
    ASSERT_EQ(fyn_compl::CreatePolish(text, &constants[e], &compiled[e]), 0) << text;
  }
};

TEST(TopoMap, EqualElectrodesGiveAFlatHeadWithHalvedOuterCorners) {
  Tables t;
  t.channelData.fill(1.0f);
  Fyn_Set7x7GridData map;
  ASSERT_EQ(t.Run(map), 0);
  // Between nodes of equal value every point is that value: the weights of a point sum to 1.
  for (int row = 8; row < 40; ++row) {
    for (int col = 8; col < 40; ++col) EXPECT_NEAR(map.ImageAt(row, col), 1.0f, 1e-5f) << row << "," << col;
  }
  // A1/2 = (F7 + Fp1)/2/2 = 0.5 at the front corners, B1/2 at the back.
  for (int node = 8; node <= 40; node += 8) {
    EXPECT_FLOAT_EQ(map.ImageAt(40, node), 1.0f);
    EXPECT_FLOAT_EQ(map.ImageAt(node, 40), 1.0f);
  }
  EXPECT_FLOAT_EQ(map.ImageAt(0, 0), 0.5f);
  EXPECT_FLOAT_EQ(map.ImageAt(0, 8), 0.5f);
  EXPECT_FLOAT_EQ(map.ImageAt(40, 0), 0.5f);
  EXPECT_FLOAT_EQ(map.GetMaxData(), 1.0f);
  for (int e = 0; e < kE; ++e) EXPECT_TRUE(map.IsComputed(e));
}

TEST(TopoMap, CellPointOnAGridNodeTakesExactlyThatNodesValue) {
  Tables t;
  for (int e = 0; e < kE; ++e) t.channelData[e] = 0.37f * static_cast<float>(e + 1);
  Fyn_Set7x7GridData map;
  ASSERT_EQ(t.Run(map), 0);
  // Node (2,2) is F3 (electrode 3), (3,3) Cz (18), (4,5) T6 (16), (1,2) Fp1, (2,1) F7 (11).
  EXPECT_EQ(map.ImageAt(16, 16), t.channelData[2]);
  EXPECT_EQ(map.ImageAt(24, 24), t.channelData[17]);
  EXPECT_EQ(map.ImageAt(32, 40), t.channelData[15]);
  EXPECT_EQ(map.ImageAt(8, 16), t.channelData[0]);
  EXPECT_EQ(map.ImageAt(16, 8), t.channelData[10]);
  // Node (2,0) is F7 beyond F3 = F7 - (F3 - F7)/2.
  EXPECT_FLOAT_EQ(map.ImageAt(16, 0), t.channelData[10] - (t.channelData[2] - t.channelData[10]) / 2);
  EXPECT_FLOAT_EQ(map.GetMaxData(), t.channelData[18]);
  // The far corner of a point on a node weighs nothing.
  EXPECT_EQ(map.Weight(0, 0, 3), 0.0f);
  EXPECT_EQ(map.Weight(7, 7, 0), 0.0f);
}

TEST(TopoMap, FormulasAreEvaluatedInPassesAndCyclesStayUnmarked) {
  Tables t;
  t.channelData.fill(2.0f);
  t.SetFormula(2, "([1]+[5]+[11]+[17])/4");  // refers to later electrodes: a second pass
  t.channelData[16] = 6.0f;                  // Fz
  t.SetFormula(0, "[2]*2");                  // Fp1 and Fp2 refer to each other
  t.SetFormula(1, "[1]+1");
  t.types[18] = fyn_topo::kTypeNumber;
  t.values[18] = -7.5f;
  Fyn_Set7x7GridData map;
  ASSERT_EQ(t.Run(map), 0);
  EXPECT_FALSE(map.IsComputed(0));
  EXPECT_FALSE(map.IsComputed(1));
  EXPECT_FALSE(map.IsComputed(2));  // depends on Fp1
  EXPECT_FLOAT_EQ(map.ElectrodeValue(18), -7.5f);

  t.SetFormula(0, "<1>*3");  // breaks the cycle: Fp1 = 6, Fp2 = 7, F3 = (6 + 2 + 2 + 6)/4
  ASSERT_EQ(t.Run(map), 0);
  EXPECT_FLOAT_EQ(map.ElectrodeValue(0), 6.0f);
  EXPECT_FLOAT_EQ(map.ElectrodeValue(1), 7.0f);
  EXPECT_FLOAT_EQ(map.ElectrodeValue(2), 4.0f);

  // A second computation reads the new channel data, not the values of the first.
  t.channelData.fill(4.0f);
  t.channelData[16] = 8.0f;
  ASSERT_EQ(t.Run(map), 0);
  EXPECT_FLOAT_EQ(map.ElectrodeValue(2), (12.0f + 4 + 4 + 8) / 4);
}

TEST(TopoMap, EvaluationResults) {
  struct Case {
    const char* formula;
    int result;
    float value;
  };
  const Case cases[] = {
      {"2+3*4", 0, 14.0f},        {"(2+3)*4", 0, 20.0f},  {"-2+5", 0, 3.0f},          {"2*(-3+1)", 0, -4.0f},
      {"2^3^2", 0, 512.0f},       {"8/4/2", 0, 1.0f},     {"10-4-3", 0, 3.0f},        {"<2>*[1]", 0, 10.0f},
      {"1/(<1>-<1>)", -1, 0.0f},  {"(0-2)^0.5", -2, 0.0f}, {"10^100", -3, 0.0f},
  };
  for (const Case& c : cases) {
    Tables t;
    t.channelData[0] = 2.0f;
    t.channelData[1] = 5.0f;
    t.SetFormula(3, c.formula);
    Fyn_Set7x7GridData map;
    ASSERT_EQ(t.Run(map), 0);
    float v = 0;
    EXPECT_EQ(map.CaluculatePolish(3, &v), c.result) << c.formula;
    if (c.result == 0) {
      EXPECT_FLOAT_EQ(v, c.value) << c.formula;
    }
  }
  // A compiled form handed in damaged is refused, never read past.
  Tables t;
  t.types[3] = fyn_topo::kTypeFormula;
  t.compiled[3] = {'+'};
  Fyn_Set7x7GridData map;
  ASSERT_EQ(t.Run(map), 0);
  float v = 0;
  EXPECT_EQ(map.CaluculatePolish(3, &v), fyn_topo::kEvalBadFormula);
  t.compiled[3] = {150};  // constant 3 of an empty array
  EXPECT_EQ(map.CaluculatePolish(3, &v), fyn_topo::kEvalBadFormula);
  EXPECT_FALSE(map.IsComputed(3));
}

TEST(TopoMap, PaletteIndexes) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float min, max;
    unsigned colours;
    float value;
    short index;
  };
  const Case cases[] = {
      {0, 10, 10, 9.99f, 9}, {0, 10, 10, 10.0f, 9}, {0, 10, 10, 25.0f, 9}, {0, 10, 10, 0.5f, 0},
      {0, 10, 10, -3.0f, 0}, {0, 10, 10, 5.0f, 5},  {0, 10, 10, nan, 0},   {0, 10, 10, 1e30f, 9},
      // A flat map: nothing to divide by.
      {5, 5, 10, 5.0f, 0},   {5, 5, 10, 4.0f, 0},   {5, 5, 10, 6.0f, 0},
      // No colours: every index 0, never colours - 1 wrapped round.
      {0, 10, 0, 5.0f, 0},   {0, 10, 0, 50.0f, 0},
  };
  for (const Case& c : cases) {
    Tables t;
    t.channelData.fill(c.value);
    Fyn_Set7x7GridData map;
    ASSERT_EQ(t.Run(map), 0);
    std::vector<short> indexes(fyn_topo::kImageRoom, -1);
    map.SetPaletteNum(c.min, c.max, c.colours, indexes.data());
    EXPECT_EQ(indexes[9 * 48 + 9], c.index) << c.min << ".." << c.max << " /" << c.colours << " v " << c.value;
    EXPECT_EQ(indexes[fyn_topo::kImageRoom - 1], 0);  // beyond the 48 x 48 image the values are 0
  }
}

TEST(TopoMap, DrawnMapIsClippedToTheHeadEllipse) {
  Tables t;
  for (int e = 0; e < kE; ++e) t.channelData[e] = static_cast<float>(e % 5);
  Fyn_Set7x7GridData map;
  ASSERT_EQ(t.Run(map), 0);
  std::vector<short> indexes(fyn_topo::kImageRoom);
  map.SetPaletteNum(0.0f, 4.0f, 5, indexes.data());
  const std::vector<draw::ColorRef> palette = {draw::Rgb(0, 0, 255), draw::Rgb(0, 255, 255), draw::Rgb(0, 255, 0),
                                               draw::Rgb(255, 255, 0), draw::Rgb(255, 0, 0)};
  draw::Image surface(240, 240, 32);
  surface.Fill(draw::Rgb(255, 255, 255));
  {
    draw::Dc dc(surface);
    map.ShowStretch(20, 20, 200, 200, &dc, &palette, indexes.data());
  }
  const auto inPalette = [&](draw::ColorRef c) {
    for (draw::ColorRef p : palette) {
      if (p == c) return true;
    }
    return false;
  };
  EXPECT_EQ(surface.GetPixel(22, 22), draw::Rgb(255, 255, 255));    // outside the ellipse
  EXPECT_EQ(surface.GetPixel(10, 120), draw::Rgb(255, 255, 255));   // outside the rectangle
  EXPECT_TRUE(inPalette(surface.GetPixel(120, 120))) << std::hex << surface.GetPixel(120, 120);
  EXPECT_TRUE(inPalette(surface.GetPixel(120, 25)));
  // Draw mode 1 fills the whole rectangle.
  map.SetDrawMode(1);
  {
    draw::Dc dc(surface);
    map.ShowStretch(20, 20, 200, 200, &dc, &palette, indexes.data());
  }
  EXPECT_TRUE(inPalette(surface.GetPixel(22, 22)));

  const std::string png = (std::filesystem::temp_directory_path() / ("qlm_topomap_" + std::to_string(::getpid()) + ".png")).string();
  ASSERT_TRUE(surface.SavePng(png));
  const draw::Image back = draw::Image::Load(png);
  std::filesystem::remove(png);
  ASSERT_FALSE(back.IsNull());
  EXPECT_EQ(back.GetPixel(120, 120), surface.GetPixel(120, 120));
}

TEST(TopoMap, PrintingBitmapHelpers) {
  draw::Image image(48, 48, 32);
  image.Fill(draw::Rgb(255, 0, 0));
  const std::vector<draw::ColorRef> palette = {draw::Rgb(0, 0, 0), draw::Rgb(255, 0, 0)};
  std::vector<std::uint8_t> packed;
  ASSERT_EQ(Fyn_Set7x7GridData::DDBToDIB(image, &palette, &packed), 1);
  EXPECT_EQ(Fyn_Set7x7GridData::GetColorCount(packed.data()), 2);
  std::vector<draw::ColorRef> back;
  ASSERT_EQ(Fyn_Set7x7GridData::CreateDIBPalette(packed, &back), 1);
  EXPECT_EQ(back, palette);
  packed.resize(44);  // colour table cut off
  EXPECT_EQ(Fyn_Set7x7GridData::CreateDIBPalette(packed, &back), 0);
}

}  // namespace
