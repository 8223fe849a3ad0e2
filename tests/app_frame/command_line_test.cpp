#include <gtest/gtest.h>

#include "app/frame/command_line.h"

TEST(CommandLineToken, SplitsOnEveryBlankAndLastTokenRunsToTheEnd) {
  EXPECT_EQ(GetCommandLineToken("/AutoPlay /3", 1), "/AutoPlay");
  EXPECT_EQ(GetCommandLineToken("/AutoPlay /3", 2), "/3");
  EXPECT_EQ(GetCommandLineToken("/AutoPlay /3", 3), "");
  EXPECT_EQ(GetCommandLineToken("a  b", 2), "") << "two blanks enclose an empty token";
  EXPECT_EQ(GetCommandLineToken("a  b", 3), "b");
  EXPECT_EQ(GetCommandLineToken("", 1), "");
  EXPECT_EQ(GetCommandLineToken("a", 0), "");
}

struct AutoPlayCase {
  const char* commandLine;
  int start;
  int entry;
};

class AutoPlaySwitch : public testing::TestWithParam<AutoPlayCase> {};

TEST_P(AutoPlaySwitch, SelectsEntryOnlyForANumberFromOne) {
  const AutoPlayCase& c = GetParam();
  const AutoPlayRequest r = ParseAutoPlayRequest(c.commandLine);
  EXPECT_EQ(r.start, c.start) << c.commandLine;
  EXPECT_EQ(r.entry, c.entry) << c.commandLine;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutoPlaySwitch,
    testing::Values(AutoPlayCase{"/AutoPlay /3", 1, 2}, AutoPlayCase{"/AutoPlay /1", 1, 0},
                    AutoPlayCase{"/AutoPlay /12x", 1, 11},
                    // A switch without a usable entry number must not start an auto-play
                    // of entry -1: it is ignored.
                    AutoPlayCase{"/AutoPlay", 0, -1}, AutoPlayCase{"/AutoPlay /", 0, -1},
                    AutoPlayCase{"/AutoPlay /0", 0, -1}, AutoPlayCase{"/AutoPlay /-2", 0, -1},
                    AutoPlayCase{"/AutoPlay /abc", 0, -1},
                    // Only the exact switch as the first token counts.
                    AutoPlayCase{"/autoplay /3", 0, -1}, AutoPlayCase{"night.fyd /AutoPlay /3", 0, -1},
                    AutoPlayCase{"", 0, -1}));
