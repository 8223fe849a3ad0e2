// The remote screening request: its block, the copies it asks for, and a request sent through
// the program's socket, by the sender tool and in process, handled while the frame runs.
#include <sys/wait.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/frame/program_settings.h"
#include "app/frame/remote_screening.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "app_shell/app_fixture.h"
#include "platform/system/copy_data_channel.h"
#include "platform/system/file_system.h"
#include "platform/system/process.h"
#include "sample_recording.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

void Touch(const std::string& path, const std::string& text = "x") { std::ofstream(path) << text; }

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(RemoteScreeningBlock, FieldsAndTheResultPathsFolderAndName) {
  struct Case {
    std::string resultPath;
    std::uint16_t copy;
    std::string folder;
    std::string name;
  } cases[] = {
      {"/out/copies/patient7.xyz", 1, "/out/copies/", "patient7"},
      {"/out/copies/patient7", 0, "/out/copies/", "patient7"},
      {"/out/copies/", 1, "/out/copies/", ""},
      {"", 2, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resultPath);
    const std::string block = BuildRemoteScreeningRequest("/data/night 1.fyd", c.copy, c.resultPath);
    EXPECT_EQ(block.size(), 262 + c.resultPath.size() + 1);
    const RemoteScreeningRequest r = ParseRemoteScreeningRequest(Bytes(block));
    EXPECT_EQ(r.dataPath, "/data/night 1.fyd");
    EXPECT_EQ(r.copyFlag, c.copy);
    EXPECT_EQ(r.resultFolder, c.folder);
    EXPECT_EQ(r.resultName, c.name);
  }
  // A short block reads what it holds and nothing beyond.
  const RemoteScreeningRequest shortOne = ParseRemoteScreeningRequest(Bytes("/data/a.fyd"));
  EXPECT_EQ(shortOne.dataPath, "/data/a.fyd");
  EXPECT_EQ(shortOne.copyFlag, 0);
  EXPECT_TRUE(shortOne.resultName.empty());
  // A data path without its NUL stops at 260 bytes.
  const RemoteScreeningRequest unterminated = ParseRemoteScreeningRequest(Bytes(std::string(300, 'a')));
  EXPECT_EQ(unterminated.dataPath.size(), 260u);
}

class RemoteCopies : public testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(sys::CreateTempFolder("qlm-remote-"));
    fs::create_directories(root_ / "data");
    fs::create_directories(root_ / "out");
    data_ = (root_ / "data" / "night.fyd").string();
    Touch(data_, "recording");
  }
  void TearDown() override {
    std::error_code ec;
    for (auto& e : fs::recursive_directory_iterator(root_, ec)) fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }
  std::string In(const std::string& rel) const { return (root_ / rel).string(); }
  fs::path root_;
  std::string data_;
};

TEST_F(RemoteCopies, RecordingAndResultFilesTakeTheResultName) {
  Touch(In("data/night_01.raf"), "first");
  Touch(In("data/night_02.raf"), "second");
  Touch(In("data/other_01.raf"));
  ASSERT_NE(CopyRemoteScreeningResults(data_, In("out"), "p7", 0, ""), 0);
  EXPECT_EQ(Slurp(In("out/p7.fyd")), "recording");
  EXPECT_EQ(Slurp(In("out/p7_01.raf")), "first");
  EXPECT_EQ(Slurp(In("out/p7_02.raf")), "second");
  EXPECT_FALSE(fs::exists(In("out/p7_01.raf.fyd")));
  EXPECT_EQ(std::distance(fs::directory_iterator(In("out")), fs::directory_iterator()), 3);
}

TEST_F(RemoteCopies, OwnFolderAndNameCopyNothingOntoItself) {
  Touch(In("data/night_01.raf"), "first");
  ASSERT_NE(CopyRemoteScreeningResults(data_, In("data/"), "night", 0, ""), 0);
  EXPECT_EQ(Slurp(data_), "recording");
  EXPECT_EQ(Slurp(In("data/night_01.raf")), "first");
}

TEST_F(RemoteCopies, ResultFolderModeAndReadOnlyTargets) {
  fs::create_directories(root_ / "results");
  Touch(In("results/night_03.raf"), "third");
  Touch(In("out/p7.fyd"), "old");
  sys::SetReadOnly(In("out/p7.fyd"), true);
  ASSERT_NE(CopyRemoteScreeningResults(data_, In("out"), "p7", 1, In("results")), 0);
  EXPECT_EQ(Slurp(In("out/p7.fyd")), "recording");
  EXPECT_TRUE(sys::IsReadOnly(In("out/p7.fyd")));
  EXPECT_EQ(Slurp(In("out/p7_03.raf")), "third");
}

TEST_F(RemoteCopies, NoResultFileFailsWithItsCause) {
  EXPECT_EQ(CopyRemoteScreeningResults(data_, In("out"), "p7", 0, ""), 0);
  EXPECT_EQ(sys::LastFileError().cause, sys::FileErrorCause::fileNotFound);
  // The recording itself was copied before the search.
  EXPECT_TRUE(fs::exists(In("out/p7.fyd")));
}

class RemoteRequest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    EpochSeconds = 30;
    PageSeconds = 30;
    testhooks::Reset();
    sys::SetOpenDocumentHandlerForTesting([this](const std::string& path) {
      opened_.push_back(path);
      return sys::kShellOk;
    });
    samples::Options o;
    o.hours = 0.1;
    o.rateHz = 128;
    fs::create_directories(folder_->Path() + "/data");
    night_ = folder_->Path() + "/data/night.fyd";
    std::string error;
    ASSERT_TRUE(samples::WriteSampleRecording(o, night_, &error)) << error;
    socket_ = sys::CopyDataSocketPath(kRemoteRequestProgramName);
  }
  void TearDown() override {
    sys::SetOpenDocumentHandlerForTesting({});
    if (app_ && DocumentLoaded != 0) {
      sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
      Doc().OnNewDocument();
      sys::ClearKeyStateForTesting();
    }
    AppTest::TearDown();
  }
  // Runs the sender on another thread while the program handles messages.
  template <typename Send>
  void WhileProgramRuns(Send send) {
    std::atomic<bool> done{false};
    std::thread sender([&] {
      send();
      done = true;
    });
    while (!done) {
      testhooks::ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    sender.join();
  }
  std::string night_;
  std::string socket_;
  std::vector<std::string> opened_;
};

TEST_F(RemoteRequest, SenderToolGetsTheRecordingScreenedAndCopied) {
  ASSERT_TRUE(Frame().IsListeningForRemoteRequests());
  const std::string tool = std::string(std::getenv("QLM_BIN_DIR")) + "/send_remote_screening";
  const std::string out = folder_->Path() + "/out";
  const std::string command =
      "'" + tool + "' --socket '" + socket_ + "' --copy '" + night_ + "' '" + out + "/p7.txt'";
  int status = -1;
  WhileProgramRuns([&] { status = std::system(command.c_str()); });
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  EXPECT_EQ(DocumentLoaded, 1);
  EXPECT_EQ(Doc().RecordInfo.path, night_);
  EXPECT_TRUE(fs::exists(folder_->Path() + "/data/night_01.raf"));
  EXPECT_TRUE(fs::exists(out + "/p7.fyd"));
  EXPECT_TRUE(fs::exists(out + "/p7_01.raf"));
  EXPECT_EQ(opened_, (std::vector<std::string>{folder_->Path() + "/data/", out + "/"}));
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Complete multi-screening!"}));
  EXPECT_EQ(Frame().MultiScreeningDlg, nullptr);
}

TEST_F(RemoteRequest, WrongCodeAndUnopenableRecordingAreToldAndChangeNothing) {
  struct Case {
    std::uint64_t code;
    std::string path;
    std::string text;
  } cases[] = {
      {521, night_, "The screening information could not be reseived from acquisition software."},
      {522, folder_->Path() + "/data/missing.fyd", "ERR: autoscreening"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    testhooks::Reset();
    opened_.clear();
    sys::CopyDataMessage m;
    m.code = c.code;
    m.bytes = Bytes(BuildRemoteScreeningRequest(c.path, 1, folder_->Path() + "/out/p7"));
    bool sent = false;
    std::int64_t result = -1;
    WhileProgramRuns([&] { sent = sys::SendCopyData(socket_, m, &result, nullptr); });
    EXPECT_TRUE(sent);
    EXPECT_EQ(result, 0);
    ASSERT_FALSE(testhooks::ShownMessageBoxes().empty());
    EXPECT_EQ(testhooks::ShownMessageBoxes().back().text, c.text);
    EXPECT_EQ(DocumentLoaded, 0);
    EXPECT_TRUE(opened_.empty());
    EXPECT_FALSE(fs::exists(folder_->Path() + "/out"));
  }
}

TEST_F(RemoteRequest, NoCopyFlagOpensTheRecordingFolderOnly) {
  sys::CopyDataMessage m;
  m.code = kRemoteScreeningCode;
  m.bytes = Bytes(BuildRemoteScreeningRequest(night_, 0, folder_->Path() + "/out/p7"));
  WhileProgramRuns([&] { EXPECT_TRUE(sys::SendCopyData(socket_, m, nullptr, nullptr)); });
  EXPECT_EQ(opened_, (std::vector<std::string>{folder_->Path() + "/data/"}));
  EXPECT_FALSE(fs::exists(folder_->Path() + "/out"));
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Complete multi-screening!"}));
}

TEST_F(RemoteRequest, NobodyListeningIsTheSendersFailure) {
  Stop();
  std::string error;
  EXPECT_FALSE(sys::SendCopyData(socket_, sys::CopyDataMessage{}, nullptr, &error));
  EXPECT_NE(error.find("no program listens"), std::string::npos);
  EXPECT_FALSE(fs::exists(socket_));
}

}  // namespace
