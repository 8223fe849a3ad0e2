// raw_output_cases OUT_DIR: writes the raw data output cases (see raw_output_cases.h) into
// OUT_DIR and lists the cut files.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/raw_output_cases/raw_output_cases.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: raw_output_cases OUT_DIR\n");
    return 2;
  }
  // The writer's wait cursor needs the toolkit; no screen is needed.
  if (std::getenv("DISPLAY") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::error_code ec;
  std::filesystem::create_directories(argv[1], ec);
  std::string error;
  const auto files = rawcases::WriteCases(argv[1], &error);
  if (files.empty()) {
    std::fprintf(stderr, "raw_output_cases: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& f : files) std::printf("%s\n", f.c_str());
  return 0;
}
