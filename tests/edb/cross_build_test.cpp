// A store written by the native build and one written by the Windows build
// (CNG) open alike in both builds.
#include <gtest/gtest.h>

#include "edb/database.h"
#include "host_path.h"
#include "store_files.h"

namespace {

TEST(CrossBuild, StoresOfBothBuildsOpen) {
  const std::vector<std::string> expect = {"pw-master|#1", "邮箱 example@例子.cn|#7",
                                           "line\r\nbreak|#9223372036854775807", "*marked|#0"};
  for (const char* name : {"native.edb", "windows.edb"}) {
    std::string path = edbtest::host_path(std::string(EDB_DATA_DIR) + "/" + name);
    // Opened from a copy: open needs write access, and the sources stay as they are.
    std::string copy = ::testing::TempDir() + name;
    edbtest::write_bytes(copy, edbtest::read_bytes(path));
    EXPECT_EQ(edbtest::content_of(copy, std::string("30460826041")), expect) << name;
    EXPECT_EQ(edbtest::content_of(copy, std::string("30460826042")),
              std::vector<std::string>{"<refused>"})
        << name;
  }
}

}  // namespace
