// Extra pictures of raw_screenshots. Each area adds a file shots_<area>.cpp beside main.cpp that
// registers its shots with a static ShotRegistrar; main runs them in name order after its own
// pictures, with the generated night open and scored from its companion files.
//
//   static ShotRegistrar reg("trend", [](ShotContext& c) { ...; return ok; });
#pragma once

#include <string>
#include <vector>

class CQLM2_AnalyzerApp;
class CMainFrame;
class CQLM2_AnalyzerDoc;

struct ShotContext {
  CQLM2_AnalyzerApp& app;
  CMainFrame& frame;
  CQLM2_AnalyzerDoc& doc;
  std::string recording;  // the generated recording's path
  std::string out;        // the folder the PNG files go to
};

using ShotFunction = bool (*)(ShotContext&);

struct ShotRegistrar {
  ShotRegistrar(const char* name, ShotFunction function);
};

struct RegisteredShot {
  std::string name;
  ShotFunction function;
};

std::vector<RegisteredShot>& RegisteredShots();
