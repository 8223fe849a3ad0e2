// make_sample_video: writes a sample video whose pictures show their frame numbers.
// Usage: make_sample_video <file.mpg|.avi|.mp4> [codec] [frames] [key interval]
//        [width] [height] [rate numerator] [rate denominator]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sample_video.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: make_sample_video <file.mpg|.avi|.mp4> [codec] [frames] [key interval] [width] [height] "
                 "[rate numerator] [rate denominator]\n");
    return 2;
  }
  SampleVideoSpec spec;
  spec.path = argv[1];
  if (argc > 2) spec.codec = argv[2];
  if (argc > 3) spec.frames = std::atoi(argv[3]);
  if (argc > 4) spec.keyInterval = std::atoi(argv[4]);
  if (argc > 5) spec.width = std::atoi(argv[5]);
  if (argc > 6) spec.height = std::atoi(argv[6]);
  if (argc > 7) spec.rateNum = std::atoi(argv[7]);
  if (argc > 8) spec.rateDen = std::atoi(argv[8]);
  std::string error;
  if (!WriteSampleVideo(spec, &error)) {
    std::fprintf(stderr, "make_sample_video: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
