#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

struct Library {
  const char* name;
  const char* description;
};

// The version resource of a library file, read back the way Explorer's property page does.
class VersionResource : public ::testing::TestWithParam<Library> {
 protected:
  void SetUp() override {
    const std::string path = zyl::testing::ExecutableDir() + GetParam().name + ".dll";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_NE(size, 0u) << path;
    block_.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block_.data()));
  }

  // The value at `sub_block`, or null with size 0.
  const void* Query(const char* sub_block, UINT* size) {
    void* value = nullptr;
    *size = 0;
    if (!VerQueryValueA(block_.data(), sub_block, &value, size)) return nullptr;
    return value;
  }

  std::vector<char> block_;
};

TEST_P(VersionResource, FixedPartNamesVersionEightZeroOneFourteenOfAWin32Dll) {
  UINT size = 0;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query("\\", &size));
  ASSERT_NE(fixed, nullptr);
  ASSERT_GE(size, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const struct {
    const char* field;
    DWORD got, want;
  } cases[] = {
      {"file version, high", fixed->dwFileVersionMS, MAKELONG(0, 8)},
      {"file version, low", fixed->dwFileVersionLS, MAKELONG(14, 1)},
      {"product version, high", fixed->dwProductVersionMS, MAKELONG(0, 8)},
      {"product version, low", fixed->dwProductVersionLS, MAKELONG(14, 1)},
      {"file type", fixed->dwFileType, VFT_DLL},
      {"file OS", fixed->dwFileOS, VOS__WINDOWS32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    EXPECT_EQ(c.got, c.want);
  }
}

TEST_P(VersionResource, TranslationIsUsEnglishInTheUnicodeCodePage) {
  UINT size = 0;
  const auto* translation = static_cast<const WORD*>(Query("\\VarFileInfo\\Translation", &size));
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(size, 2 * sizeof(WORD));  // exactly one language
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);
}

TEST_P(VersionResource, StringTableReadsBackEveryField) {
  const struct {
    const char* name;
    const char* want;
  } cases[] = {
      {"FileVersion", "8, 0, 1, 14"},    {"ProductVersion", "8, 0, 1, 14"},
      {"InternalName", GetParam().name}, {"FileDescription", GetParam().description},
      {"ProductName", "VOZ Iviruzuzi"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UINT size = 0;
    const auto* value = static_cast<const char*>(
        Query(("\\StringFileInfo\\040904b0\\" + std::string(c.name)).c_str(), &size));
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(value, c.want);
  }
}

INSTANTIATE_TEST_SUITE_P(Libraries, VersionResource,
                         ::testing::Values(Library{"ZIZUDUZ", "VOZ Iviruzuzi"},
                                           Library{"ZIZUDUZC", "VOZ Iviruzuzi C interface"}));

}  // namespace
