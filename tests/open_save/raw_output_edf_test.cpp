// A recording read through the DSI plug-in, cut into a new raw data file: the plug-in's words
// of the chosen epochs and channels, an inverted channel stored as the one's complement.
#include <unistd.h>

#include "app/document/import_plugin.h"
#include "app/document/import_plugin_abi.h"
#include "app/frame/program_settings.h"
#include "app/results/raw_output_file.h"
#include "common/fileaccess/fyn_file_access_raw.h"
#include "open_save_fixture.h"

namespace {

TEST_F(OpenSaveTest, PluginRecordingCutWithAnInvertedChannel) {
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  const std::string dir = folder_->Path();
  InstallDsiPlugin(dir);
  std::filesystem::create_directory(dir + "/nights");
  ASSERT_TRUE(WriteEdfRecording(dir + "/nights/night.edf", EdfSpec{}));
  ASSERT_EQ(chdir(dir.c_str()), 0);
  PluginPath.clear();
  const bool started = Start({"nights/night.edf"});
  ASSERT_EQ(chdir(cwd), 0);
  ASSERT_TRUE(started);
  ASSERT_EQ(Doc().RecordInfo.sourceKind, 3);
  const int perEpoch = EpochSeconds * Doc().ChInfo[0].rate;
  ASSERT_GT(Doc().GetDivNum(EpochSeconds), 2);
  Doc().ChInfo[2].invert = 1;

  // The plug-in's own words of epochs 1..2 of channels 0 and 2.
  auto words = PluginModule.Function<ImpGetRawWordData>("GetRawWordData");
  ASSERT_NE(words, nullptr);
  std::vector<std::uint16_t> expected[2];
  for (int k = 0; k < 2; ++k) {
    expected[k].resize(static_cast<std::size_t>(2 * perEpoch));
    ASSERT_NE(words(Doc().RecordInfo.path.c_str(), 0, Doc().MontageNumber, k * 2, perEpoch, 2 * perEpoch,
                    expected[k].data()),
              0);
  }
  std::array<std::int32_t, 32> flags{};
  flags[0] = flags[2] = 1;
  const std::string out = dir + "/cut.fyd";
  ASSERT_EQ(rawout::WriteRawOutput(Doc(), out, 1, 2, flags), 1);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());

  FynFileAccessRaw raw(out.c_str());
  ASSERT_EQ(raw.InitParams(), 0);
  std::vector<std::uint16_t> stored(static_cast<std::size_t>(4 * perEpoch));
  ASSERT_EQ(raw.GetRawDataWORDAll(0, static_cast<std::uint32_t>(2 * perEpoch - 1), stored.data()), 0);
  for (std::size_t i = 0; i < expected[0].size(); ++i) {
    ASSERT_EQ(stored[i], expected[0][i]) << i;
    ASSERT_EQ(stored[expected[0].size() + i], static_cast<std::uint16_t>(~expected[1][i])) << i;
  }
}

}  // namespace
