// Texts are stored in the ANSI code page of the language and read back as UTF-8.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/fileaccess/fyn_file_access_raw.h"
#include "fixture.h"
#include "platform/system/locale.h"

namespace {

class CodePage : public ::testing::Test {
 protected:
  void TearDown() override { sys::ResetThreadLocaleForTesting(); }
  fixture::TempDir dir;
  std::string path = dir.Path("cp.fyd");
};

TEST_F(CodePage, EnglishTextsAreStoredAsCp1252) {
  ASSERT_TRUE(sys::SetThreadLocale(sys::kLcidEnglishUs));
  auto spec = fixture::TwoChannelSpec();
  spec.channels[0].unit = "\xC2\xB5V";  // "µV"
  ASSERT_TRUE(fixture::WriteRaw(path, spec));
  const auto bytes = fixture::ReadBytes(path);
  const std::vector<unsigned char> stored = {2, 0, 0, 0, 0xB5, 'V'};
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), stored.begin(), stored.end()), bytes.end())
      << "the unit text is one byte 0xB5 and 'V'";
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  _FynRawG2Param g;
  ASSERT_EQ(0, r.GetGroup2ParamRaw(0, &g));
  EXPECT_EQ("\xC2\xB5V", g.unit);
}

TEST_F(CodePage, JapaneseNamesAreCutBetweenDoubleByteCharacters) {
  ASSERT_TRUE(sys::SetThreadLocale(sys::kLcidJapanese));
  // "脳波" (2 characters, 2 bytes each in code page 932) after one ASCII byte: 1 + 2k bytes,
  // so the 128-byte capacity falls inside a character and the cut keeps 127 bytes.
  std::string name = "A";
  for (int i = 0; i < 40; ++i) name += "\xE8\x84\xB3\xE6\xB3\xA2";
  auto spec = fixture::TwoChannelSpec();
  spec.channels[0].name = name;
  ASSERT_TRUE(fixture::WriteRaw(path, spec));
  FynFileAccessRaw r(path.c_str());
  ASSERT_EQ(0, r.InitParams());
  _FynRawG2Param g;
  ASSERT_EQ(0, r.GetGroup2ParamRaw(0, &g));
  std::string expected = "A";
  for (int i = 0; i < 63; ++i) expected += (i % 2 == 0) ? "\xE8\x84\xB3" : "\xE6\xB3\xA2";
  EXPECT_EQ(expected, g.name);
  EXPECT_EQ("EEG left central", g.comment) << "the next field is still found";
}

}  // namespace
