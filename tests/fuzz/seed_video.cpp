// Writes the seed corpus of fuzz_video into the folder named on the command line: small sample
// videos of each codec and container, each prefixed by the byte that picks its extension.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "sample_video.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: seed_video FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const struct {
    const char* codec;
    const char* ext;
    char pick;
  } kinds[] = {{"mpeg1video", ".mpg", 0}, {"mpeg2video", ".mpg", 0}, {"mpeg4", ".avi", 1}, {"libx264", ".mp4", 2}};
  int n = 0;
  for (const auto& k : kinds) {
    SampleVideoSpec s;
    s.path = folder + "/sample" + k.ext;
    s.codec = k.codec;
    s.width = 32;
    s.height = 32;
    s.frames = 8;
    s.keyInterval = 4;
    if (!WriteSampleVideo(s)) continue;
    std::ifstream in(s.path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::remove(s.path.c_str());
    std::ofstream(folder + "/seed" + std::to_string(n++), std::ios::binary) << k.pick << bytes;
  }
  return 0;
}
