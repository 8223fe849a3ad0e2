#pragma once
// The program started in a fresh program folder with a short sample night beside it, and
// helpers to look at the files the tests must leave as they were.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "app/frame/program_settings.h"
#include "app_shell/app_fixture.h"
#include "sample_recording.h"

class OpenSaveTest : public AppTest {
 protected:
  void TearDown() override {
    if (app_ && DocumentLoaded != 0) {
      sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
      Doc().OnNewDocument();
      sys::ClearKeyStateForTesting();
    }
    AppTest::TearDown();
    EpochSeconds = 30;
    PageSeconds = 30;
  }
  // A 3-minute, 3-channel night at 64 Hz.
  std::string WriteNight(const std::string& name, std::uint32_t seed = 1) {
    samples::Options o;
    o.hours = 0.05;
    o.channels = 3;
    o.rateHz = 64;
    o.seed = seed;
    const std::string path = folder_->Path() + "/" + name;
    std::string error;
    EXPECT_TRUE(samples::WriteSampleRecording(o, path, &error)) << error;
    return path;
  }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  // Content and permissions of every plain file of the folder.
  std::map<std::string, std::pair<std::size_t, unsigned>> Snapshot(const std::string& folder) const {
    std::map<std::string, std::pair<std::size_t, unsigned>> files;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
      if (!e.is_regular_file()) continue;
      const std::string name = e.path().filename().string();
      if (name == "registry.txt" || name.ends_with(".RSM")) continue;
      files[name] = {std::hash<std::string>{}(Bytes(e.path().string())),
                     static_cast<unsigned>(std::filesystem::status(e.path()).permissions())};
    }
    return files;
  }
};

// EDF and BDF recordings of `channels` sine channels at 100 Hz written with EDFlib. Each
// channel's physical range runs from `physMin` to `physMax` (reversed when physMin > physMax);
// channel c swings over `fractions[c]` of that range around its middle.
struct EdfSpec {
  int fileType = 1;  // EDFLIB_FILETYPE_EDFPLUS
  int channels = 4;
  int seconds = 130;
  double physMin = -1000.0, physMax = 1000.0;
  std::vector<double> fractions = {0.1, 0.2, 0.3, 0.4};
};
bool WriteEdfRecording(const std::string& path, const EdfSpec& spec);
// Copies the DSI plug-in from the build into `folder`; its path there.
std::string InstallDsiPlugin(const std::string& folder);
