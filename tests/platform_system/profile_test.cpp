#include "platform/system/profile.h"

#include <thread>

#include "scratch_folder.h"

namespace {

using sys::CodePage;

// Reading as the system's settings files were read: one fixture file, a table of lookups.
constexpr const char* kIni =
    "; settings\r\n"
    "orphan=before any section\r\n"
    "[QX_Setting]\r\n"
    "  AnimalOnly = 1 \r\n"
    "DSIOnly=0\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mismatch=\"x'\r\n"
    "Empty=\r\n"
    "Number=12abc\r\n"
    "Negative=-42\r\n"
    "Plus=+7\r\n"
    "Text=abc\r\n"
    "NoEquals\r\n"
    ";Commented=5\r\n"
    "Dup=first\r\n"
    "Dup=second\r\n"
    "[ Other ]\r\n"
    "AnimalOnly=9\r\n"
    "[qx_setting]\r\n"
    "Late=in the second copy\r\n";

struct ReadCase {
  const char* section;
  const char* key;
  const char* def;
  const char* expected;
};

class ProfileRead : public ScratchFolder, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ProfileRead, ReadsStringsWithTheSystemRules) {
  Put("a.ini", kIni);
  const ReadCase& c = GetParam();
  EXPECT_EQ(sys::GetPrivateProfileString(c.section, c.key, c.def, Path("a.ini"), CodePage::Cp1252), c.expected)
      << c.section << "/" << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    ::testing::Values(ReadCase{"QX_Setting", "AnimalOnly", "d", "1"},      // blanks around key and value
                      ReadCase{"qx_SETTING", "animalonly", "d", "1"},      // names ignore case
                      ReadCase{"Other", "AnimalOnly", "d", "9"},           // section name trimmed
                      ReadCase{"QX_Setting", "Quoted", "d", "  spaced  "},  // one pair of quotes removed
                      ReadCase{"QX_Setting", "Single", "d", "x"},
                      ReadCase{"QX_Setting", "Mismatch", "d", "\"x'"},
                      ReadCase{"QX_Setting", "Empty", "d", ""},            // present but empty: not the default
                      ReadCase{"QX_Setting", "NoEquals", "d", ""},
                      ReadCase{"QX_Setting", "Commented", "d", "d"},
                      ReadCase{"QX_Setting", "Dup", "d", "first"},
                      ReadCase{"QX_Setting", "Late", "d", "d"},            // only the first section counts
                      ReadCase{"QX_Setting", "orphan", "d", "d"},
                      ReadCase{"QX_Setting", "Missing", "dflt  ", "dflt"},  // default loses trailing blanks
                      ReadCase{"Nowhere", "Missing", "", ""}));

TEST_F(ScratchFolder, ProfileIntParsesLeadingDigitsLikeTheSystem) {
  Put("a.ini", kIni);
  const std::string f = Path("a.ini");
  struct {
    const char* key;
    int def;
    int expected;
  } cases[] = {{"AnimalOnly", 5, 1}, {"Number", 5, 12}, {"Negative", 5, -42}, {"Plus", 5, 7},
               {"Text", 5, 0},       {"Empty", 5, 5},   {"Missing", 5, 5}};
  for (const auto& c : cases)
    EXPECT_EQ(sys::GetPrivateProfileInt("QX_Setting", c.key, c.def, f, CodePage::Cp1252), c.expected) << c.key;
  EXPECT_EQ(sys::GetPrivateProfileInt("QX_Setting", "AnimalOnly", 3, Path("none.ini")), 3);
}

TEST_F(ScratchFolder, ProfileWriteKeepsOtherLinesAndOrder) {
  Put("a.ini", "; keep me\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  const std::string f = Path("a.ini");
  ASSERT_TRUE(sys::WritePrivateProfileString("a", "X", "10", f, CodePage::Cp1252));  // replaced, spelling kept
  ASSERT_TRUE(sys::WritePrivateProfileString("A", "z", "3", f, CodePage::Cp1252));   // added before the blank line
  ASSERT_TRUE(sys::WritePrivateProfileString("C", "w", "4", f, CodePage::Cp1252));   // new section at the end
  EXPECT_EQ(Get("a.ini"), "; keep me\r\n[A]\r\nx=10\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n");

  ASSERT_TRUE(sys::DeletePrivateProfileKey("B", "Y", f, CodePage::Cp1252));
  ASSERT_TRUE(sys::DeletePrivateProfileSection("a", f, CodePage::Cp1252));
  EXPECT_EQ(Get("a.ini"), "; keep me\r\n[B]\r\n[C]\r\nw=4\r\n");
  EXPECT_TRUE(sys::DeletePrivateProfileKey("Nope", "k", f, CodePage::Cp1252));
}

TEST_F(ScratchFolder, ProfileWriteCreatesFileAndRefusesBrokenLines) {
  const std::string f = Path("new.ini");
  ASSERT_TRUE(sys::WritePrivateProfileString("QX_Setting", "DSIOnly", "1", f, CodePage::Cp1252));
  EXPECT_EQ(Get("new.ini"), "[QX_Setting]\r\nDSIOnly=1\r\n");
  // A line break in a value would split the file's lines and corrupt other keys.
  EXPECT_FALSE(sys::WritePrivateProfileString("QX_Setting", "DSIOnly", "1\r\n[Evil]", f, CodePage::Cp1252));
  EXPECT_FALSE(sys::WritePrivateProfileString("QX_Setting", "a=b", "1", f, CodePage::Cp1252));
  EXPECT_FALSE(sys::WritePrivateProfileString("", "k", "1", f, CodePage::Cp1252));
  EXPECT_EQ(Get("new.ini"), "[QX_Setting]\r\nDSIOnly=1\r\n");
  // A folder that does not exist is a failure, not a silent success.
  EXPECT_FALSE(sys::WritePrivateProfileString("S", "k", "v", Path("no/such/folder.ini"), CodePage::Cp1252));
}

TEST_F(ScratchFolder, ProfileFilesAreInTheLanguageCodePage) {
  const std::string f = Path("ja.ini");
  // "設定" in CP932 is 90 DD 92 E8; the section name "ソフト" holds 0x5C and 0x83 trail bytes.
  ASSERT_TRUE(sys::WritePrivateProfileString("ソフト", "名前", "設定", f, CodePage::Cp932));
  EXPECT_EQ(Get("ja.ini"), "[\x83\x5C\x83\x74\x83\x67]\r\n\x96\xBC\x91\x4F=\x90\xDD\x92\xE8\r\n");
  EXPECT_EQ(sys::GetPrivateProfileString("ソフト", "名前", "", f, CodePage::Cp932), "設定");

  // Lines that are not touched keep their bytes, even ones the code page cannot decode.
  Put("raw.ini", "[S]\r\nbad=\x81\x20\r\n");
  ASSERT_TRUE(sys::WritePrivateProfileString("S", "new", "x", Path("raw.ini"), CodePage::Cp932));
  EXPECT_EQ(Get("raw.ini"), "[S]\r\nbad=\x81\x20\r\nnew=x\r\n");

  Put("c.ini", "[S]\nname=caf\xE9\n");
  EXPECT_EQ(sys::GetPrivateProfileString("s", "NAME", "", Path("c.ini"), CodePage::Cp1252), "café");
  ASSERT_TRUE(sys::WritePrivateProfileString("S", "k", "ü", Path("c.ini"), CodePage::Cp1252));
  EXPECT_EQ(Get("c.ini"), "[S]\nname=caf\xE9\nk=\xFC\n");  // the file's own line breaks are kept
}

TEST_F(ScratchFolder, ProfileEnumeratesSectionsAndKeys) {
  Put("a.ini", kIni);
  EXPECT_EQ(sys::GetPrivateProfileSectionNames(Path("a.ini"), CodePage::Cp1252),
            (std::vector<std::string>{"QX_Setting", "Other", "qx_setting"}));
  EXPECT_EQ(sys::GetPrivateProfileKeys("other", Path("a.ini"), CodePage::Cp1252),
            (std::vector<std::string>{"AnimalOnly"}));
}

}  // namespace

namespace {

TEST_F(ScratchFolder, ProfileWritesFromTwoThreadsKeepBothKeys) {
  const std::string f = Path("t.ini");
  auto writer = [&](const char* section) {
    for (int i = 0; i < 15; ++i)
      sys::WritePrivateProfileString(section, "k" + std::to_string(i), std::to_string(i), f, CodePage::Cp1252);
  };
  std::thread a(writer, "A"), b(writer, "B");
  a.join();
  b.join();
  EXPECT_EQ(sys::GetPrivateProfileKeys("A", f, CodePage::Cp1252).size(), 15u);
  EXPECT_EQ(sys::GetPrivateProfileKeys("B", f, CodePage::Cp1252).size(), 15u);
}

}  // namespace
