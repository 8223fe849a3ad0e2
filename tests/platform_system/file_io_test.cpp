#include "platform/system/binary_file.h"
#include "platform/system/file_io.h"

#include <sys/stat.h>

#include "scratch_folder.h"

namespace {

using sys::BinaryFile;
using sys::FileErrorCause;

TEST_F(ScratchFolder, AtomicWriterKeepsTheOriginalUntilCommit) {
  Put("results.raf", "old contents");
  {
    sys::AtomicFileWriter w(Path("results.raf"));
    ASSERT_TRUE(w.IsOpen());
    ASSERT_TRUE(w.Write("new "));
    EXPECT_EQ(Get("results.raf"), "old contents");
  }  // destroyed without commit
  EXPECT_EQ(Get("results.raf"), "old contents");

  sys::AtomicFileWriter w(Path("results.raf"));
  ASSERT_TRUE(w.Write("new "));
  w.Abort();
  EXPECT_EQ(Get("results.raf"), "old contents");

  ASSERT_TRUE(sys::WriteFileAtomic(Path("results.raf"), "new contents"));
  EXPECT_EQ(Get("results.raf"), "new contents");
  // Nothing is left beside the file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}), 1);
}

TEST_F(ScratchFolder, AtomicWriteRefusesReadOnlyTargetsAndKeepsPermissions) {
  Put("ro.fyd", "recording");
  ::chmod(Path("ro.fyd").c_str(), 0444);
  EXPECT_FALSE(sys::WriteFileAtomic(Path("ro.fyd"), "overwritten"));
  EXPECT_EQ(sys::LastFileError().cause, FileErrorCause::accessDenied);
  EXPECT_EQ(Get("ro.fyd"), "recording");

  Put("rw.rsm", "a");
  ::chmod(Path("rw.rsm").c_str(), 0640);
  ASSERT_TRUE(sys::WriteFileAtomic(Path("rw.rsm"), "b"));
  struct stat st {};
  ASSERT_EQ(::stat(Path("rw.rsm").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  EXPECT_FALSE(sys::WriteFileAtomic(Path("missing/x.rsm"), "b"));
  EXPECT_EQ(sys::LastFileError().cause, FileErrorCause::fileNotFound);
}

TEST_F(ScratchFolder, BinaryFileReportsCauses) {
  BinaryFile f;
  EXPECT_FALSE(f.Open(Path("none.fyd"), BinaryFile::kRead));
  EXPECT_EQ(f.LastError().cause, FileErrorCause::fileNotFound);
  EXPECT_EQ(static_cast<int>(f.LastError().cause), 2);

  ASSERT_TRUE(f.Open(Path("a.bin"), BinaryFile::kCreate | BinaryFile::kReadWrite));
  ASSERT_TRUE(f.Write("0123456789", 10));
  EXPECT_EQ(f.Length(), 10u);
  ASSERT_TRUE(f.Seek(-4, BinaryFile::SeekFrom::End));
  char buf[8] = {};
  EXPECT_FALSE(f.ReadExact(buf, 8));
  EXPECT_EQ(f.LastError().cause, FileErrorCause::endOfFile);
  EXPECT_FALSE(f.Seek(-1, BinaryFile::SeekFrom::Begin));
  EXPECT_EQ(f.LastError().cause, FileErrorCause::badSeek);
  ASSERT_TRUE(f.Seek(2));
  ASSERT_TRUE(f.ReadExact(buf, 3));
  EXPECT_EQ(std::string(buf, 3), "234");
  ASSERT_TRUE(f.Close());

  // kCreate | kNoTruncate keeps what is there.
  ASSERT_TRUE(f.Open(Path("a.bin"), BinaryFile::kCreate | BinaryFile::kNoTruncate | BinaryFile::kWrite));
  EXPECT_EQ(f.Length(), 10u);
  f.Close();

  ::chmod(Path("a.bin").c_str(), 0444);
  EXPECT_FALSE(f.Open(Path("a.bin"), BinaryFile::kWrite));
  EXPECT_EQ(f.LastError().cause, FileErrorCause::accessDenied);
  EXPECT_FALSE(f.Open(Folder(), BinaryFile::kRead));
  EXPECT_EQ(f.LastError().cause, FileErrorCause::accessDenied);
  EXPECT_EQ(sys::ReadWholeFile(Path("a.bin")).value_or("?"), "0123456789");
  EXPECT_FALSE(sys::ReadWholeFile(Path("none")).has_value());
}

}  // namespace

namespace {

TEST_F(ScratchFolder, AtomicWriteThroughALinkReplacesTheLinkedFile) {
  Put("real.rsm", "old");
  std::filesystem::create_symlink(Path("real.rsm"), Path("link.rsm"));
  ASSERT_TRUE(sys::WriteFileAtomic(Path("link.rsm"), "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.rsm")));
  EXPECT_EQ(Get("real.rsm"), "new");
}

}  // namespace
