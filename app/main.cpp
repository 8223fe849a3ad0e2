// Entry point of the analyzer program.
#include "app/document/qlm2_analyzer_app.h"

int main(int argc, char** argv) {
  CQLM2_AnalyzerApp app;
  return ui::RunApplication(app, argc, argv);
}
