// Writes the seed corpus of fuzz_edfplugin: short EDF+ and BDF+ recordings with annotations,
// written with EDFlib, into the folder named on the command line.
#include <edflib.h>

#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  int n = 0;
  for (int type : {EDFLIB_FILETYPE_EDFPLUS, EDFLIB_FILETYPE_BDFPLUS}) {
    const std::string path = std::string(argv[1]) + "/rec" + std::to_string(n++);
    const int h = edfopen_file_writeonly(path.c_str(), type, 2);
    if (h < 0) return 1;
    const bool bdf = type == EDFLIB_FILETYPE_BDFPLUS;
    for (int s = 0; s < 2; ++s) {
      edf_set_samplefrequency(h, s, s == 0 ? 10 : 5);
      edf_set_physical_maximum(h, s, 500.0);
      edf_set_physical_minimum(h, s, -500.0);
      edf_set_digital_maximum(h, s, bdf ? 8388607 : 32767);
      edf_set_digital_minimum(h, s, bdf ? -8388608 : -32768);
      edf_set_label(h, s, s == 0 ? "EEG" : "EOG");
      edf_set_prefilter(h, s, "HP:0.3Hz LP:35Hz N:50Hz");
    }
    std::vector<double> buf(10, 12.5);
    for (int sec = 0; sec < 3; ++sec) {
      edfwrite_physical_samples(h, buf.data());
      edfwrite_physical_samples(h, buf.data());
    }
    edfwrite_annotation_utf8(h, 10000, -1, "Lights off");
    edfclose_file(h);
  }
  return 0;
}
