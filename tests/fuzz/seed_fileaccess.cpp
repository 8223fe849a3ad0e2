// Writes the seed corpus of fuzz_fileaccess: small files of every kind, written by the
// data-file writers, into the folder named on the command line.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/fileaccess/fyn_file_write.h"
#include "fixture.h"
#include "tools/raw_output_cases/raw_output_cases.h"

namespace {

bool WriteAna(const std::string& path) {
  FynFileWriteAna w(path.c_str());
  std::uint64_t end = 0;
  _FynIdBlock id{2, "FY_VEX_ANADATA", 0x0110};
  _FynAnaG2Param p;
  p.dataCount = 3;
  p.texts = {"a", "b", "c", "d"};
  return w.CreateNewFile() == 0 && w.WriteIDBlock(&id, &end) == 0 && w.WriteHeader(3, nullptr, &end) == 0 &&
         w.WriteGroup1Ana(2, nullptr, &end) == 0 && w.StartGroup2(2, nullptr, &end) == 0 &&
         w.WriteGroup2Unit(&p, nullptr, &end) == 0 && w.WriteGroup2Unit(&p, nullptr, &end) == 0 &&
         w.EndGroup2(&end, &end) == 0 &&
         w.WriteDataGroup({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}, nullptr, &end) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_fileaccess FOLDER\n");
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;
  // The program's raw data output cases (the source recording is not part of the corpus).
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::string error;
  ok = ok && !rawcases::WriteCases(dir, &error).empty();
  std::filesystem::remove(dir + "/src_3ch_10hz.fyd");
  if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  auto spec = fixture::TwoChannelSpec();
  ok = ok && fixture::WriteRaw(dir + "/raw.fyd", spec);
  spec.withEvents = true;
  ok = ok && fixture::WriteRaw(dir + "/raw_events.fyd", spec);
  spec.withOV = true;
  spec.comments.resize(10);
  spec.comments[3].text1 = "Title";
  ok = ok && fixture::WriteRaw(dir + "/raw_events_ov.fyd", spec);
  spec.ovVersion = 2;
  spec.ovUnits = 6;
  ok = ok && fixture::WriteRaw(dir + "/raw_ov_v2.fyd", spec);
  auto layout = fixture::TwoChannelSpec();
  layout.kind = fixture::RawKind::Layout1_1;
  ok = ok && fixture::WriteRaw(dir + "/layout11.fyd", layout);
  auto ep = fixture::TwoChannelSpec();
  ep.kind = fixture::RawKind::EPRaw;
  ok = ok && fixture::WriteRaw(dir + "/ep.fyd", ep);
  ok = ok && WriteAna(dir + "/ana.fya");
  if (!ok) {
    std::fprintf(stderr, "seed_fileaccess: cannot write the seeds into %s\n", dir.c_str());
    return 1;
  }
  return 0;
}
