#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "platform/system/clock.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/process.h"
#include "platform/system/system_info.h"

namespace {

TEST(DynamicLibrary, BindsExportedNamesAndReportsMissingOnes) {
  Dl_info info{};
  ASSERT_NE(::dladdr(reinterpret_cast<void*>(&::strlen), &info), 0);
  sys::DynamicLibrary lib;
  ASSERT_TRUE(lib.Load(info.dli_fname)) << lib.LastError();
  auto* len = lib.Function<std::size_t (*)(const char*)>("strlen");
  ASSERT_NE(len, nullptr);
  EXPECT_EQ(len("abc"), 3u);
  EXPECT_EQ(lib.Symbol("DLL_NoSuchExport"), nullptr);
  EXPECT_FALSE(lib.LastError().empty());
  lib.Unload();
  EXPECT_EQ(lib.Symbol("strlen"), nullptr);

  EXPECT_FALSE(lib.Load("/nonexistent/RXQD_IMP_NONE.so"));
  EXPECT_FALSE(lib.LastError().empty());
}

TEST(Process, StartsWithoutWaitingAndReportsFailures) {
  EXPECT_EQ(sys::StartProcess("/bin/true", {"a b", "\"c\""}), 0);
  EXPECT_EQ(sys::StartProcess("true", {}), 0);  // found on PATH
  EXPECT_EQ(sys::StartProcess("/nonexistent/CSVBOOK", {}), ENOENT);
  EXPECT_EQ(sys::StartProcess("/tmp", {}), EACCES);
  EXPECT_EQ(sys::StartProcess("/bin/true", {}, "/nonexistent"), ENOENT);
}

TEST(Process, OpenDocumentChecksTheFileAndCanBeRedirected) {
  EXPECT_EQ(sys::OpenDocument("/nonexistent-folder/help.pdf"), sys::kShellPathNotFound);
  EXPECT_EQ(sys::OpenDocument("/tmp/qlm-no-such-help.pdf"), sys::kShellFileNotFound);
  std::string opened;
  sys::SetOpenDocumentHandlerForTesting([&](const std::string& p) {
    opened = p;
    return sys::kShellOk;
  });
  EXPECT_GT(sys::OpenDocument("/data/night.fyd"), 32);
  EXPECT_EQ(opened, "/data/night.fyd");
  sys::SetOpenDocumentHandlerForTesting({});
}

TEST(Clock, LocalTimeRoundTripsAndRefusesImpossibleDates) {
  const sys::LocalTime t{2026, 2, 28, 0, 23, 59, 58, 0};
  const std::time_t secs = sys::FromLocalTime(t);
  ASSERT_NE(secs, -1);
  const sys::LocalTime back = sys::ToLocalTime(secs);
  EXPECT_EQ(back.year, 2026);
  EXPECT_EQ(back.month, 2);
  EXPECT_EQ(back.day, 28);
  EXPECT_EQ(back.hour, 23);
  EXPECT_EQ(back.second, 58);
  EXPECT_EQ(back.dayOfWeek, 6);  // 28 February 2026 is a Saturday
  EXPECT_EQ(sys::FromLocalTime({2026, 2, 31, 0, 0, 0, 0, 0}), -1);
  EXPECT_EQ(sys::FromLocalTime({2026, 13, 1, 0, 0, 0, 0, 0}), -1);

  const std::uint64_t a = sys::MonotonicMs();
  EXPECT_GE(sys::MonotonicMs(), a);
  const sys::LocalTime now = sys::GetLocalTime();
  EXPECT_GE(now.year, 2024);
  EXPECT_LT(now.milliseconds, 1000);
}

TEST(SystemInfo, MemoryAndDiskAreConsistent) {
  const auto m = sys::GetMemoryStatus();
  ASSERT_TRUE(m.has_value());
  EXPECT_GT(m->totalPhysicalBytes, 0u);
  EXPECT_LE(m->availablePhysicalBytes, m->totalPhysicalBytes);
  EXPECT_LE(m->memoryLoadPercent, 100u);
  const auto d = sys::GetDiskFreeSpace("/tmp");
  ASSERT_TRUE(d.has_value());
  EXPECT_LE(d->freeBytesForUser, d->totalFreeBytes);
  EXPECT_LE(d->totalFreeBytes, d->totalBytes);
  EXPECT_FALSE(sys::GetDiskFreeSpace("/nonexistent/x").has_value());
}

}  // namespace
