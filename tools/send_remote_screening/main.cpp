// Asks the program running from this tool's folder to screen a recording and, with --copy, to
// copy the recording and its result files to the folder of RESULT_PATH, named after its name.
// Waits until the program has finished (it shows its closing message box first).
//
//   send_remote_screening [--socket PATH] [--code N] [--copy] DATA_PATH [RESULT_PATH]
//
// Exit status: 0 when the program took the request, 1 when no program answered, 2 on a usage
// error.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/frame/remote_screening.h"
#include "platform/system/copy_data_channel.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: send_remote_screening [--socket PATH] [--code N] [--copy] DATA_PATH [RESULT_PATH]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string socket = sys::CopyDataSocketPath(kRemoteRequestProgramName);
  std::uint64_t code = kRemoteScreeningCode;
  bool copy = false;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--socket" && i + 1 < argc) {
      socket = argv[++i];
    } else if (arg == "--code" && i + 1 < argc) {
      char* end = nullptr;
      code = std::strtoull(argv[++i], &end, 10);
      if (end == nullptr || *end != '\0') return Usage();
    } else if (arg == "--copy") {
      copy = true;
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage();
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.empty() || paths.size() > 2) return Usage();
  const std::string block = BuildRemoteScreeningRequest(paths[0], copy ? 1 : 0, paths.size() > 1 ? paths[1] : "");
  sys::CopyDataMessage message;
  message.code = code;
  message.bytes.assign(block.begin(), block.end());
  std::string error;
  if (!sys::SendCopyData(socket, message, nullptr, &error)) {
    std::fprintf(stderr, "send_remote_screening: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
