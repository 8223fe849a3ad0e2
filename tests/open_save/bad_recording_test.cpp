// Files that are not recordings, given by every road that opens one: each is told by a message
// that names the file and the cause, the program keeps what it had (or an empty recording),
// the next open works, and no file on disk changes.
#include <random>

#include "app/document/import_plugin.h"
#include "app/frame/program_settings.h"
#include "open_save_fixture.h"
#include "platform/ui/command.h"

namespace {

constexpr std::uint32_t kFileOpen = 57601;
constexpr std::uint32_t kFirstRecentFile = 57616;

struct BadFile {
  std::string name;
  std::string cause;  // a part of the message
};

class BadRecording : public OpenSaveTest {
 protected:
  void SetUp() override {
    OpenSaveTest::SetUp();
    bad_ = folder_->Path() + "/bad";
    std::filesystem::create_directory(bad_);
  }
  // The bad files of the table, made in their own folder from the good night at `good`.
  std::vector<BadFile> MakeBadFiles(const std::string& good) {
    const std::string whole = Bytes(good);
    std::vector<BadFile> files;
    for (std::size_t size : {std::size_t{9}, std::size_t{100}, std::size_t{5000}, whole.size() / 2}) {
      const std::string name = "cut" + std::to_string(size) + ".fyd";
      WriteBytes(bad_ + "/" + name, whole.substr(0, size));
      files.push_back({name, size < 5000 ? "" : "cut short"});
    }
    std::mt19937 rng(7);
    std::string noise(4096, '\0');
    for (char& c : noise) c = static_cast<char>(rng());
    WriteBytes(bad_ + "/noise.fyd", noise);
    files.push_back({"noise.fyd", "not a recording"});
    WriteBytes(bad_ + "/empty.fyd", "");
    files.push_back({"empty.fyd", "empty"});
    std::filesystem::create_directory(bad_ + "/folder.fyd");
    files.push_back({"folder.fyd", "folder"});
    files.push_back({"missing.fyd", "does not exist"});
    std::string raf(4096, '\0');
    raf.replace(0, 3, "RAF");
    WriteBytes(bad_ + "/result.RAF", raf);
    files.push_back({"result.RAF", "result analysis file"});
    return files;
  }
  void ExpectToldOnce(const BadFile& f) {
    const std::vector<std::string> texts = BoxTexts();
    ASSERT_EQ(texts.size(), 1u) << f.name;
    EXPECT_NE(texts[0].find(bad_ + "/" + f.name), std::string::npos) << texts[0];
    if (!f.cause.empty()) {
      EXPECT_NE(texts[0].find(f.cause), std::string::npos) << texts[0];
    }
  }
  // After a refusal: the good night is still open, or the document is empty; it opens again.
  void ExpectStillWorking(const std::string& good) {
    if (DocumentLoaded != 0) {
      EXPECT_EQ(Doc().RecordInfo.path, good);
    }
    EXPECT_FALSE(PluginModule.IsLoaded());
    testhooks::Reset();
    ASSERT_NE(app_->OpenDocumentFile(good), nullptr);
    EXPECT_EQ(DocumentLoaded, 1);
    EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  }
  std::string bad_;
};

TEST_F(BadRecording, CommandLineKeepsTheProgramRunning) {
  const std::string good = WriteNight("good.fyd");
  for (const BadFile& f : MakeBadFiles(good)) {
    SCOPED_TRACE(f.name);
    const auto before = Snapshot(bad_);
    testhooks::Reset();
    ASSERT_TRUE(Start({bad_ + "/" + f.name}));
    ExpectToldOnce(f);
    EXPECT_EQ(DocumentLoaded, 0);
    EXPECT_NE(app_->MainFrame(), nullptr);
    ExpectStillWorking(good);
    EXPECT_EQ(Snapshot(bad_), before);
    sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
    Doc().OnNewDocument();
    sys::ClearKeyStateForTesting();
    Stop();
  }
}

TEST_F(BadRecording, FileOpenDropAndRecentListTellAndKeepTheRecording) {
  ASSERT_TRUE(Start());
  const std::string good = WriteNight("good.fyd");
  const std::vector<BadFile> files = MakeBadFiles(good);
  const char* roads[] = {"File > Open", "drop", "recent list"};
  for (const char* road : roads) {
    for (const BadFile& f : files) {
      SCOPED_TRACE(std::string(road) + ": " + f.name);
      if (std::string(road) == "File > Open" && f.name == "folder.fyd") continue;  // the dialog opens folders
      ASSERT_NE(app_->OpenDocumentFile(good), nullptr);
      const auto before = Snapshot(bad_);
      const std::string path = bad_ + "/" + f.name;
      testhooks::Reset();
      if (std::string(road) == "File > Open") {
        testhooks::AnswerFileDialog(ui::IDOK, {path});
        EXPECT_TRUE(ui::ExecuteCommand(Frame(), kFileOpen));
      } else if (std::string(road) == "drop") {
        testhooks::DropFiles(Frame(), {path});
        testhooks::ProcessMessages();
      } else {
        app_->AddToRecentFileList(path);
        EXPECT_TRUE(ui::ExecuteCommand(Frame(), kFirstRecentFile));
      }
      if (f.name == "result.RAF" && std::string(road) == "drop") {
        // A dropped ".RAF" is taken as a result file: told as one that cannot be read.
        EXPECT_FALSE(BoxTexts().empty());
      } else {
        ExpectToldOnce(f);
      }
      // Files refused at first sight leave the recording in use open.
      if (f.cause != "cut short") {
        EXPECT_EQ(DocumentLoaded, 1);
      }
      EXPECT_EQ(Snapshot(bad_), before);
      if (std::string(road) == "recent list") {
        const auto& recent = app_->RecentFiles();
        const bool listed = std::find(recent.begin(), recent.end(), path) != recent.end();
        EXPECT_EQ(listed, f.name != "missing.fyd" && f.name != "folder.fyd") << "an entry that is no file leaves the list";
      }
      ExpectStillWorking(good);
    }
  }
}

}  // namespace
