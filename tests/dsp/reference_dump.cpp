// Writes seeded inputs and this library's outputs into a folder, for the
// comparison against numpy/scipy (check_against_numpy.py).
//
// The folder gets "cases.txt", one case per line: a kind, a name and the
// parameters; every array is a file "<name>.<what>.f32" of little-endian
// 32-bit floats.
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "common/dsp/fyn_fft.h"
#include "common/dsp/fyn_filter_fir.h"
#include "common/dsp/fyn_correlation.h"
#include "common/dsp/fyn_filter_iir.h"
#include "common/dsp/fyn_smoothing.h"

namespace {

std::string g_folder;
std::ofstream g_cases;

void WriteArray(const std::string& name, const std::string& what, const std::vector<float>& data) {
  std::ofstream out(g_folder + "/" + name + "." + what + ".f32", std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size() * sizeof(float)));
}

std::vector<float> Noise(std::size_t n, unsigned seed, float offset = 0.0f) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> dist;
  std::vector<float> x(n);
  for (float& v : x) v = offset + dist(rng);
  return x;
}

void DumpSpectra() {
  unsigned seed = 1;
  for (int n : {256, 1024, 4096}) {
    for (int window : {0, 1, 2, 3, 4}) {
      for (int unit : {0, 1}) {
        const double fs = 500.0;
        FynFft fft(n, window, unit, fs);
        if (fft.CreateWorkArea() != 0) continue;
        const std::vector<float> x = Noise(static_cast<std::size_t>(n), ++seed, 2.5f);
        std::vector<float> p(static_cast<std::size_t>(n / 2 + 1));
        fft.SetRData(x.data());
        fft.CalcFft();
        fft.GetResultData(p.data());
        const std::string name = "fft_" + std::to_string(n) + "_" + std::to_string(window) + "_" + std::to_string(unit);
        WriteArray(name, "in", x);
        WriteArray(name, "out", p);
        g_cases << "fft " << name << ' ' << n << ' ' << window << ' ' << unit << ' ' << fs << '\n';
      }
    }
  }
}

void DumpIir() {
  struct Case {
    short prototype, process;
    double fs, e1, e2, ap, as, c1, c2;
  };
  const Case cases[] = {
      {0, 0, 500, 20, 30, 3, 27, 35, 0},     {0, 0, 200, 20, 30, 3, 27, 15, 0},
      {0, 1, 500, 20, 30, 3, 27, 5, 0},      {0, 1, 200, 20, 30, 1, 40, 40, 0},
      {0, 2, 500, 20, 30, 3, 27, 8, 30},     {0, 2, 100, 20, 30, 3, 27, 5, 15},
      {0, 3, 500, 20, 30, 3, 27, 45, 55},    {0, 3, 200, 20, 30, 1, 40, 30, 50},
      {1, 0, 500, 20, 30, 0.5, 27, 35, 0},   {1, 0, 250, 20, 30, 1, 40, 40, 0},
      {1, 1, 500, 20, 30, 0.5, 27, 5, 0},    {1, 1, 200, 20, 30, 1, 40, 30, 0},
      {1, 2, 500, 20, 30, 0.5, 27, 8, 30},   {1, 2, 200, 20, 30, 1, 40, 10, 40},
      {1, 3, 500, 20, 30, 0.5, 27, 45, 55},  {1, 3, 200, 20, 30, 1, 40, 30, 50},
  };
  int index = 0;
  for (const Case& c : cases) {
    FynFilterIIR f(c.prototype, c.process, c.fs, c.e1, c.e2, c.ap, c.as, c.c1, c.c2);
    if (f.CalcIIRFilterDesign() != 1) continue;
    std::vector<float> impulse(32768, 0.0f);
    impulse[0] = 1.0f;
    f.CalcFilter(impulse.size(), impulse.data());
    const std::string name = "iir_" + std::to_string(index++);
    WriteArray(name, "out", impulse);
    g_cases << "iir " << name << ' ' << c.prototype << ' ' << c.process << ' ' << c.fs << ' ' << c.e1 << ' '
            << c.e2 << ' ' << c.ap << ' ' << c.as << ' ' << c.c1 << ' ' << c.c2 << ' ' << f.GetOrder() << '\n';
  }
}

void DumpFir() {
  struct Case {
    short type;
    double low, high, attn;
    unsigned long taps;
    double fs;
    unsigned long n;
  };
  const Case cases[] = {
      {0, 30, 0, 60, 101, 500, 2000}, {1, 0.5, 0, 40, 100, 200, 1500}, {2, 8, 30, 22, 64, 250, 1000},
      {3, 45, 55, 15, 201, 500, 3000}, {0, 10, 0, 50, 20, 100, 1000},
  };
  int index = 0;
  for (const Case& c : cases) {
    FynFilterFIR fir(c.type, c.low, c.high, c.attn, c.taps, c.fs, 0);
    fir.SetRawDataNum(c.n);
    if (fir.CreateWorkArea() != 0 || fir.SetHData() != 1) continue;
    std::vector<float> h(c.taps), x = Noise(c.n, 100u + static_cast<unsigned>(index)), y(c.n);
    fir.GetDesignData(h.data());
    fir.SetRData(x.data(), c.n);
    fir.CalcFIRFilter();
    fir.GetResultData(y.data());
    const std::string name = "fir_" + std::to_string(index++);
    WriteArray(name, "taps", h);
    WriteArray(name, "in", x);
    WriteArray(name, "out", y);
    g_cases << "fir " << name << ' ' << c.type << ' ' << c.low << ' ' << c.high << ' ' << c.attn << ' ' << c.taps
            << ' ' << c.fs << ' ' << c.n << '\n';
  }
}

void DumpSmoothing() {
  for (long count : {5, 7, 21}) {
    const std::vector<float> x = Noise(600, 200u + static_cast<unsigned>(count));
    FynSmoothing s(1, count, x.size());
    s.SetOrgData(x.data());
    s.SetDtPoint(x.size());
    std::vector<float> y(x.size());
    if (s.CalcSmoothing() != 0 || s.GetRData(y.data()) != 0) continue;
    const std::string name = "smooth_" + std::to_string(count);
    WriteArray(name, "in", x);
    WriteArray(name, "out", y);
    g_cases << "smooth " << name << ' ' << count << '\n';
  }
}

void DumpCorrelation() {
  const int n = 512;
  const std::vector<float> x = Noise(n, 300), y = Noise(n, 301, 4.0f);
  FynAutoCorrelation ac(n, 0.0);
  FynCrossCorrelation cc(n, 0.0);
  if (ac.CreateWorkArea() != 0 || cc.CreateWorkArea() != 0) return;
  std::vector<float> r(n / 2), rxy(n);
  ac.SetRData(x.data());
  ac.CalcFft();
  ac.CalcAutoCorrelation();
  ac.GetResultData(r.data());
  cc.SetRData(x.data());
  cc.CalcFft();
  cc.SetShelter(0);
  cc.SetRData(y.data());
  cc.CalcFft();
  cc.SetShelter(1);
  cc.CalcCrossCorrelation();
  cc.GetResultData(rxy.data());
  WriteArray("corr", "x", x);
  WriteArray("corr", "y", y);
  WriteArray("corr", "auto", r);
  WriteArray("corr", "cross", rxy);
  g_cases << "corr corr " << n << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s output-folder\n", argv[0]);
    return 2;
  }
  g_folder = argv[1];
  g_cases.open(g_folder + "/cases.txt");
  if (!g_cases) {
    std::fprintf(stderr, "cannot write %s/cases.txt\n", argv[1]);
    return 1;
  }
  DumpSpectra();
  DumpIir();
  DumpFir();
  DumpSmoothing();
  DumpCorrelation();
  return g_cases ? 0 : 1;
}
