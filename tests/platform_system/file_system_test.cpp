#include "platform/system/file_system.h"

#include <sys/stat.h>

#include "platform/system/text_compare.h"
#include "scratch_folder.h"

namespace {

using sys::FileErrorCause;

TEST(Wildcard, MatchesLikeTheSystemWithoutRegardToCase) {
  struct {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.raf", "Night1.RAF", true}, {"*.raf", "night1.raf.bak", false}, {"night?.fyd", "NIGHT7.fyd", true},
      {"night?.fyd", "night10.fyd", false}, {"*.*", "README", true},  {"*", ".hidden", true},
      {"RXQD_IMP_*.so", "rxqd_imp_DSI.so", true}, {"a*b*c", "aXbYbZc", true}, {"a*b*c", "aXbYbZ", false},
      {"name.*", "name", true}, {"ｄａｔａ*", "ＤＡＴＡ1", true}, {"", "x", false},
  };
  for (const auto& c : cases) EXPECT_EQ(sys::WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " ~ " << c.name;
}

TEST_F(ScratchFolder, FindFilesListsMatchesSortedWithTheirDetails) {
  Put("b.RAF", "12345");
  Put("a.raf", "1");
  Put("c.txt", "");
  std::filesystem::create_directory(Path("d.raf"));
  const auto found = sys::FindFiles(Folder() + "/*.raf");
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].name, "a.raf");
  EXPECT_EQ(found[1].name, "b.RAF");
  EXPECT_EQ(found[1].size, 5u);
  EXPECT_EQ(found[1].path, Path("b.RAF"));
  EXPECT_TRUE(found[2].isFolder);
  EXPECT_EQ(found[2].attributes & sys::kAttrDirectory, sys::kAttrDirectory);
  EXPECT_TRUE(sys::FindFiles(Path("none/*.*")).empty());
  EXPECT_EQ(sys::LastFileError().cause, FileErrorCause::fileNotFound);
}

TEST_F(ScratchFolder, ReadOnlyAttributeIsSavedAndRestored) {
  // As with an opened recording: remember the attributes, protect it, give them back.
  Put("rec.fyd", "data");
  const std::string f = Path("rec.fyd");
  const std::time_t before = sys::FileModifiedTime(f).value();
  const std::uint32_t saved = sys::GetFileAttributes(f);
  EXPECT_EQ(saved, sys::kAttrNormal);
  ASSERT_TRUE(sys::SetFileAttributes(f, saved | sys::kAttrReadOnly));
  EXPECT_TRUE(sys::IsReadOnly(f));
  EXPECT_FALSE(sys::DeleteFile(f));  // protected, also for a privileged user
  EXPECT_EQ(sys::LastFileError().cause, FileErrorCause::accessDenied);
  ASSERT_TRUE(sys::SetFileAttributes(f, saved));
  EXPECT_FALSE(sys::IsReadOnly(f));
  EXPECT_EQ(sys::FileModifiedTime(f).value(), before);

  EXPECT_EQ(sys::GetFileAttributes(Path("gone")), sys::kInvalidAttributes);
  EXPECT_FALSE(sys::SetReadOnly(Path("gone"), true));
  Put(".hidden", "");
  EXPECT_EQ(sys::GetFileAttributes(Path(".hidden")), sys::kAttrHidden);
}

TEST_F(ScratchFolder, CopyMoveDeleteAndFolders) {
  Put("a.fyd", "recording");
  ::chmod(Path("a.fyd").c_str(), 0444);
  ASSERT_TRUE(sys::CopyFile(Path("a.fyd"), Path("b.fyd"), true));
  EXPECT_EQ(Get("b.fyd"), "recording");
  EXPECT_TRUE(sys::IsReadOnly(Path("b.fyd")));  // attributes travel with the copy
  EXPECT_FALSE(sys::CopyFile(Path("a.fyd"), Path("b.fyd"), true));
  EXPECT_FALSE(sys::CopyFile(Path("a.fyd"), Path("b.fyd"), false));  // a read-only target is not replaced
  ASSERT_TRUE(sys::SetReadOnly(Path("b.fyd"), false));
  Put("c.fyd", "other");
  ASSERT_TRUE(sys::CopyFile(Path("c.fyd"), Path("b.fyd"), false));
  EXPECT_EQ(Get("b.fyd"), "other");
  EXPECT_FALSE(sys::CopyFile(Path("none"), Path("x"), false));
  EXPECT_EQ(sys::LastFileError().cause, FileErrorCause::fileNotFound);

  EXPECT_FALSE(sys::MoveFile(Path("c.fyd"), Path("b.fyd")));  // never replaces
  ASSERT_TRUE(sys::MoveFile(Path("c.fyd"), Path("d.fyd")));
  EXPECT_FALSE(sys::FileExists(Path("c.fyd")));
  ASSERT_TRUE(sys::DeleteFile(Path("d.fyd")));
  EXPECT_FALSE(sys::DeleteFile(Path("d.fyd")));

  ASSERT_TRUE(sys::CreateFolders(Path("x/y/z")));
  EXPECT_TRUE(sys::FolderExists(Path("x/y/z")));
  EXPECT_FALSE(sys::CreateFolder(Path("x/y/z")));
  EXPECT_FALSE(sys::CreateFolders(Path("a.fyd/sub")));
  EXPECT_FALSE(sys::RemoveFolder(Path("x/y")));  // not empty
  EXPECT_TRUE(sys::RemoveFolder(Path("x/y/z")));
}

TEST_F(ScratchFolder, TempFilesAreNewAndUnique) {
  const std::string a = sys::CreateTempFile(Folder(), "TMP");
  const std::string b = sys::CreateTempFile(Folder(), "TMP");
  ASSERT_FALSE(a.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(sys::FileNameOf(a).rfind("TMP", 0), 0u);
  EXPECT_EQ(sys::FileSize(a), 0u);
  EXPECT_TRUE(sys::CreateTempFile(Path("missing"), "TMP").empty());
  const std::string dir = sys::CreateTempFolder("qlm_test_");
  ASSERT_TRUE(sys::FolderExists(dir));
  EXPECT_TRUE(sys::RemoveFolder(dir));
  EXPECT_EQ(sys::TempFolder().back(), '/');
}

TEST(PathParts, SplitLikeTheSystemsPathHelpers) {
  EXPECT_EQ(sys::FolderOf("/a/b.txt"), "/a");
  EXPECT_EQ(sys::FolderOf("/b.txt"), "/");
  EXPECT_EQ(sys::FileNameOf("/a/b.txt"), "b.txt");
  EXPECT_EQ(sys::ExtensionOf("/a.d/b"), "");
  EXPECT_EQ(sys::ExtensionOf("/a/b.tar.RAF"), "RAF");
  EXPECT_EQ(sys::ReplaceExtension("/a.d/b", "bmp"), "/a.d/b.bmp");
  EXPECT_EQ(sys::ReplaceExtension("/a/QLM2_Analyzer.exe", "RSM"), "/a/QLM2_Analyzer.RSM");
  EXPECT_EQ(sys::FileTitleOf("/a/night.1.fyd"), "night.1");

  struct {
    const char* path;
    sys::PathParts parts;
  } cases[] = {
      {"/data/night.fyd", {"", "/data/", "night", ".fyd"}},
      {"C:\\Data\\sub/night.RAF", {"C:", "\\Data\\sub/", "night", ".RAF"}},
      {"night", {"", "", "night", ""}},
      {"/a.b/c", {"", "/a.b/", "c", ""}},
  };
  for (const auto& c : cases) {
    const sys::PathParts p = sys::SplitPath(c.path);
    EXPECT_EQ(p.drive, c.parts.drive) << c.path;
    EXPECT_EQ(p.folder, c.parts.folder) << c.path;
    EXPECT_EQ(p.name, c.parts.name) << c.path;
    EXPECT_EQ(p.extension, c.parts.extension) << c.path;
    EXPECT_EQ(sys::MakePath(p), c.path);
  }
  EXPECT_EQ(sys::MakePath({"", "/data", "night", "raf"}), "/data/night.raf");
}

}  // namespace
