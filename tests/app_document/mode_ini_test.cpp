#include <gtest/gtest.h>

#include "app/document/mode_ini.h"
#include "program_folder_fixture.h"

using ModeIni = ProgramFolderTest;

TEST_F(ModeIni, OnlyAValueAboveZeroTurnsAModeOn) {
  struct Case {
    const char* value;
    int on;
  };
  const Case cases[] = {{"1", 1}, {"2", 1}, {" 7 ", 1}, {"0", 0}, {"-5", 0}, {"abc", 0}, {"", 0}};
  for (const Case& c : cases) {
    WriteBeside("QX_Setting.ini", std::string("[AnimalHuman]\nAnimalOnly=") + c.value + "\n[DSIReader]\nDSIOnly=" +
                                      c.value + "\n");
    const ModeSwitches m = ReadModeIni();
    EXPECT_EQ(m.animalOnly, c.on) << "AnimalOnly=" << c.value;
    EXPECT_EQ(m.dsiOnly, c.on) << "DSIOnly=" << c.value;
  }
}

TEST_F(ModeIni, MissingFileGivesBothOffAndWritingStoresOneOrZero) {
  const ModeSwitches none = ReadModeIni();
  EXPECT_EQ(none.animalOnly, 0);
  EXPECT_EQ(none.dsiOnly, 0);

  ASSERT_TRUE(WriteModeIni(ModeSwitches{5, 0}));
  const std::string text = ReadBeside("QX_Setting.ini");
  EXPECT_NE(text.find("AnimalOnly=1"), std::string::npos) << text;
  EXPECT_NE(text.find("DSIOnly=0"), std::string::npos) << text;
  const ModeSwitches back = ReadModeIni();
  EXPECT_EQ(back.animalOnly, 1);
  EXPECT_EQ(back.dsiOnly, 0);
}
