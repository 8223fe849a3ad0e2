// Writes the seed corpus of fuzz_video_sets into the folder named on the command line: range
// files of versions 2 and 1 (lengths still to be measured) and auto-play lists.
#include <cstdio>
#include <fstream>
#include <string>

#include "app/video/cvp_info_exchange.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: seed_video_sets FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  auto write = [&](const std::string& name, char pick, const std::string& bytes) {
    std::ofstream(folder + "/" + name, std::ios::binary) << pick << bytes;
  };
  const std::vector<VideoFileRecord> set = {{0.0, 10.0, "night/a.mpg", {{0.0, 4.0}, {6.0, 10.0}}},
                                            {9.0, -1.0, "night/b.mpg", {{0.0, -1.0}}}};
  const std::string v2 = EncodeRangeFile(0, set);
  write("range_v2", 1, v2);
  write("range_v1", 1, std::string("\x01\x00", 2) + v2.substr(4));
  AutoPlayEntry e;
  e.rawPath = "/data/night.fyd";
  e.startTime = 60.0;
  e.endTime = 120.0;
  e.comment = "arousal";
  write("autoplay_one", 0, EncodeAutoPlayList({e}));
  write("autoplay_two", 0, EncodeAutoPlayList({e, AutoPlayEntry{}}));
  return 0;
}
