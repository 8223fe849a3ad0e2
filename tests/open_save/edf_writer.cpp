#include <edflib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "open_save_fixture.h"

namespace {

constexpr int kRate = 100;

double SampleOf(const EdfSpec& spec, int channel, int index) {
  const double middle = (spec.physMax + spec.physMin) / 2.0;
  const double span = std::fabs(spec.physMax - spec.physMin);
  const double amplitude = spec.fractions[static_cast<std::size_t>(channel) % spec.fractions.size()] * span / 2.0;
  return middle + amplitude * std::sin(2.0 * M_PI * 1.3 * index / kRate);
}

// Field of `width` characters, left-aligned and blank-padded.
std::string Field(const std::string& text, std::size_t width) {
  std::string f = text.substr(0, width);
  f.resize(width, ' ');
  return f;
}

// Plain EDF and BDF (EDFlib writes only their "+" forms): one-second data records.
bool WritePlain(const std::string& path, const EdfSpec& spec, bool bdf) {
  const int ns = spec.channels;
  const long digMax = bdf ? 8388607 : 32767, digMin = bdf ? -8388608 : -32768;
  std::string h;
  h += bdf ? std::string("\xff") + Field("BIOSEMI", 7) : Field("0", 8);
  h += Field("X X X X", 80) + Field("Startdate X X X X", 80) + Field("05.11.23", 8) + Field("23.14.30", 8);
  h += Field(std::to_string(256 * (ns + 1)), 8) + Field(bdf ? "24BIT" : "", 44);
  h += Field(std::to_string(spec.seconds), 8) + Field("1", 8) + Field(std::to_string(ns), 4);
  auto each = [&](auto text, std::size_t width) {
    for (int c = 0; c < ns; ++c) h += Field(text(c), width);
  };
  auto num = [](double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%g", v);
    return std::string(b);
  };
  each([](int c) { return "EEG " + std::to_string(c + 1); }, 16);
  each([](int) { return std::string("AgAgCl electrode"); }, 80);
  each([](int) { return std::string("uV"); }, 8);
  each([&](int) { return num(spec.physMin); }, 8);
  each([&](int) { return num(spec.physMax); }, 8);
  each([&](int) { return std::to_string(digMin); }, 8);
  each([&](int) { return std::to_string(digMax); }, 8);
  each([](int) { return std::string("HP:0.3Hz LP:35Hz"); }, 80);
  each([](int) { return std::to_string(kRate); }, 8);
  each([](int) { return std::string(); }, 32);
  std::string data;
  const double scale = static_cast<double>(digMax - digMin) / (spec.physMax - spec.physMin);
  for (int sec = 0; sec < spec.seconds; ++sec) {
    for (int c = 0; c < ns; ++c) {
      for (int k = 0; k < kRate; ++k) {
        const double v = SampleOf(spec, c, sec * kRate + k);
        const long d = std::lround(digMin + (v - spec.physMin) * scale);
        data += static_cast<char>(d & 0xFF);
        data += static_cast<char>((d >> 8) & 0xFF);
        if (bdf) data += static_cast<char>((d >> 16) & 0xFF);
      }
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << h << data;
  return static_cast<bool>(out);
}

}  // namespace

bool WriteEdfRecording(const std::string& path, const EdfSpec& spec) {
  if (spec.fileType == EDFLIB_FILETYPE_EDF || spec.fileType == EDFLIB_FILETYPE_BDF)
    return WritePlain(path, spec, spec.fileType == EDFLIB_FILETYPE_BDF);
  const int handle = edfopen_file_writeonly(path.c_str(), spec.fileType, spec.channels);
  if (handle < 0) return false;
  const bool bdf = spec.fileType == EDFLIB_FILETYPE_BDFPLUS;
  for (int c = 0; c < spec.channels; ++c) {
    edf_set_samplefrequency(handle, c, kRate);
    edf_set_physical_maximum(handle, c, spec.physMax);
    edf_set_physical_minimum(handle, c, spec.physMin);
    edf_set_digital_maximum(handle, c, bdf ? 8388607 : 32767);
    edf_set_digital_minimum(handle, c, bdf ? -8388608 : -32768);
    edf_set_physical_dimension(handle, c, "uV");
    edf_set_label(handle, c, ("EEG " + std::to_string(c + 1)).c_str());
  }
  std::vector<double> buf(kRate);
  for (int sec = 0; sec < spec.seconds; ++sec) {
    for (int c = 0; c < spec.channels; ++c) {
      for (int k = 0; k < kRate; ++k) buf[static_cast<std::size_t>(k)] = SampleOf(spec, c, sec * kRate + k);
      if (edfwrite_physical_samples(handle, buf.data()) != 0) return false;
    }
  }
  return edfclose_file(handle) == 0;
}

std::string InstallDsiPlugin(const std::string& folder) {
  const char* bin = std::getenv("QLM_BIN_DIR");
  const std::string target = folder + "/RXQD_IMP_DSI.so";
  if (bin == nullptr) return target;
  std::error_code ec;
  std::filesystem::copy_file(std::string(bin) + "/RXQD_IMP_DSI.so", target,
                             std::filesystem::copy_options::overwrite_existing, ec);
  return target;
}
