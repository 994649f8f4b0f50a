#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "iat_patch.h"
#include "test_support.h"
#include "zyl/zyl.h"

namespace {

using zyl::testing::TempDir;

std::string LongForm(const std::string& path) {
  std::vector<char> buf(32768);
  const DWORD length = GetLongPathNameA(path.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
  return length > 0 && length < buf.size() ? std::string(buf.data(), length) : std::string();
}

bool SameFile(const std::string& a, const std::string& b) {
  const std::string long_a = LongForm(a);
  return !long_a.empty() && lstrcmpiA(long_a.c_str(), LongForm(b).c_str()) == 0;
}

// Every component after the drive fits 8.3 and has no blank.
bool IsShortForm(const std::string& path) {
  std::size_t start = path.find('\\') + 1;
  while (start < path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    const std::size_t dot = part.find('.');
    const std::size_t base = dot == std::string::npos ? part.size() : dot;
    const std::size_t ext = dot == std::string::npos ? 0 : part.size() - dot - 1;
    if (part.find(' ') != std::string::npos || base > 8 || ext > 3) return false;
    start = end + 1;
  }
  return true;
}

bool MakeFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

TEST(ExtractShortPathName, GivesShortFormsThatLeadBackToLongNamesWithBlanks) {
  const TempDir dir;
  const std::string folder = dir.path() + "A Folder With A Rather Long Name";
  const std::string file = folder + "\\Quarterly report, final version.text";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(MakeFile(file));

  for (const std::string& path : {dir.path(), folder, folder + "\\", file}) {
    SCOPED_TRACE(path);
    const ZYLString short_form = ExtractShortPathName(path);
    EXPECT_TRUE(IsShortForm(short_form)) << short_form;
    EXPECT_TRUE(SameFile(short_form, path)) << short_form;
  }
}

bool IsDirectory(const std::string& path) {
  const std::wstring wide = L"\\\\?\\" + std::wstring(path.begin(), path.end());
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Directories nested past the path limit, made and removed through the "\\?\" form that lifts
// the limit.
class DeepTree {
 public:
  DeepTree(const std::string& base, std::size_t min_length) {
    std::string path = base;
    while (path.size() < min_length) {
      path += "D" + std::to_string(100000 + levels_.size()) + "\\";
      levels_.push_back(Wide("\\\\?\\" + path));
      if (!CreateDirectoryW(levels_.back().c_str(), nullptr)) break;
    }
    path_ = path;
  }
  ~DeepTree() {
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) RemoveDirectoryW(it->c_str());
  }
  DeepTree(const DeepTree&) = delete;
  DeepTree& operator=(const DeepTree&) = delete;
  const std::string& path() const { return path_; }

 private:
  static std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
  }
  std::vector<std::wstring> levels_;
  std::string path_;
};

// Each name is a valid 8.3 name already, so the short form is as long as the path. Wine reports
// 0 past 259 bytes, Windows the size it needs: either way the result is empty or the whole,
// sound short form, never a cut or undefined one.
TEST(ExtractShortPathName, GivesEmptyOrTheWholeShortFormOfAPathPastTheLimit) {
  const TempDir dir;
  const std::string base = ExtractShortPathName(dir.path());
  ASSERT_FALSE(base.empty());
  const DeepTree tree(base, 400);
  ASSERT_GE(tree.path().size(), 400u);
  const ZYLString short_form = ExtractShortPathName(tree.path());
  if (!short_form.empty()) {
    EXPECT_GT(short_form.size(), 259u);
    EXPECT_TRUE(IsShortForm(short_form)) << short_form;
    EXPECT_TRUE(IsDirectory(short_form)) << short_form;
  }
}

// Stands in for GetShortPathNameA with the answers Windows gives for a short form of any length:
// a buffer too small is left holding junk and the size needed, NUL included, comes back.
struct Fake {
  explicit Fake(std::string short_form, std::optional<DWORD> second = std::nullopt)
      : form(std::move(short_form)), second_answer(second) {}
  std::string form;
  std::optional<DWORD> second_answer;  // what the second call reports instead, if set
  std::vector<std::string> paths;
  std::vector<DWORD> sizes;
};
Fake* fake = nullptr;

DWORD WINAPI FakeGetShortPathNameA(LPCSTR path, LPSTR buf, DWORD size) {
  fake->paths.emplace_back(path);
  fake->sizes.push_back(size);
  if (fake->sizes.size() == 2 && fake->second_answer) {
    std::memset(buf, '?', size);
    return *fake->second_answer;
  }
  if (fake->form.size() >= size) {
    std::memset(buf, '?', size);
    return static_cast<DWORD>(fake->form.size() + 1);
  }
  std::memcpy(buf, fake->form.c_str(), fake->form.size() + 1);
  return static_cast<DWORD>(fake->form.size());
}

class ScopedFake {
 public:
  explicit ScopedFake(Fake* f)
      : patch_(zyl::testing::LibraryModule(), "kernel32.dll", "GetShortPathNameA",
               reinterpret_cast<void*>(&FakeGetShortPathNameA)) {
    fake = f;
  }
  ~ScopedFake() { fake = nullptr; }
  ScopedFake(const ScopedFake&) = delete;
  ScopedFake& operator=(const ScopedFake&) = delete;
  bool ok() const { return patch_.ok(); }

 private:
  zyl::testing::ScopedImportPatch patch_;
};

std::string FormOfLength(std::size_t length) {
  std::string form = "C:";
  while (form.size() < length) form += "\\ABCDEF~1";
  form.resize(length);
  return form;
}

TEST(ExtractShortPathName, AsksAgainWithTheSizeNeededWhenTheFormDoesNotFit) {
  const struct {
    std::size_t length;
    std::size_t calls;
  } cases[] = {{1, 1}, {258, 1}, {259, 1}, {260, 2}, {261, 2}, {1000, 2}, {40000, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    Fake f(FormOfLength(c.length));
    const ScopedFake patch(&f);
    ASSERT_TRUE(patch.ok());
    EXPECT_EQ(ExtractShortPathName(std::string("C:\\some long\\path\0junk", 22)), f.form);
    ASSERT_EQ(f.sizes.size(), c.calls);
    EXPECT_EQ(f.sizes[0], 260u);
    if (c.calls == 2) {
      EXPECT_EQ(f.sizes[1], c.length + 1);
    }
    for (const std::string& path : f.paths) EXPECT_EQ(path, "C:\\some long\\path");
  }
}

TEST(ExtractShortPathName, IsEmptyWhenTheSecondQueryFailsTooNeverTheJunkBuffer) {
  const struct {
    const char* why;
    DWORD second_answer;
  } cases[] = {
      {"the path vanished", 0},                      // reported as 0
      {"the form grew in between", 5000},            // still does not fit
      {"the answer is the buffer's own size", 300},  // no room for the NUL: no success
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    Fake f(FormOfLength(299), c.second_answer);
    const ScopedFake patch(&f);
    ASSERT_TRUE(patch.ok());
    EXPECT_EQ(ExtractShortPathName("C:\\x"), "");
    EXPECT_EQ(f.sizes.size(), 2u);
  }
}

}  // namespace
