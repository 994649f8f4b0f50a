#include "oracle.h"

#include <cstdio>
#include <optional>
#include <string>

#include "message_box_recorder.h"
#include "test_support.h"
#include "zyl/zyl.h"
#include "zyl/zyl_c.h"

namespace {

std::string In(const char* text, size_t length) {
  if (text == nullptr) return "";
  return length == ZYL_NUL_TERMINATED ? std::string(text) : std::string(text, length);
}

// The one box `show` puts up, as "caption\ntext"; nothing unless it is exactly one.
template <class Show>
std::optional<std::string> Box(const Show& show) {
  zyl::testing::BoxRecorder recorder;
  show();
  const zyl::testing::BoxRecording got = recorder.Finish();
  if (!got.problem.empty() || got.calls != 1 || got.boxes.size() != 1) return std::nullopt;
  return got.boxes[0].caption + "\n" + got.boxes[0].text;
}

}  // namespace

size_t oracle_result(const zyl_case* c, const char** result) {
  static std::string want;
  const std::string in = In(c->text, c->length);
  switch (c->function) {
    case TRIM:
      want = ZYLTrim(in);
      break;
    case TRIM_LEFT:
      want = ZYLTrimLeft(in);
      break;
    case TRIM_RIGHT:
      want = ZYLTrimRight(in);
      break;
    case PAD:
      want = PadString(in, c->fill, c->width, true);
      break;
    case FILE_NAME:
      want = ExtractFileName(in);
      break;
    case FILE_PATH:
      want = ExtractFilePath(in);
      break;
    case SHORT_PATH:
      want = ExtractShortPathName(in);
      break;
    case TITLE:  // written out: on Linux both sides are empty, right or wrong
      want = zyl::testing::ExecutableTitle("zyl_c_test");
  }
  *result = want.data();
  return want.size();
}

int oracle_debug(const char* value) {
  zyl::testing::SetEnv("DEBUG", value);
  return Debug() ? 1 : 0;
}

int oracle_same_record(const char* text, size_t length) {
  const std::string c_log = LogName, cpp_log = c_log + ".cpp";
  LogName = cpp_log.c_str();
  SendDebugMsg(In(text, length));
  LogName = c_log.c_str();
  const std::string got = zyl::testing::ReadWholeFile(c_log);
  const std::string want = zyl::testing::ReadWholeFile(cpp_log);
  std::remove(c_log.c_str());
  std::remove(cpp_log.c_str());
  // The time stamps may be a second apart; they are always as wide.
  return !want.empty() && got.size() == want.size() &&
         got.substr(got.find('\n')) == want.substr(want.find('\n'));
}

int oracle_same_box(int error, void (*show)(const char*, size_t), const char* text, size_t length) {
  const std::string in = In(text, length);
  const auto want = Box([&] { error ? ShowZYLError("user", in) : ShowZYLMsg(in); });
  return want && Box([&] { show(text, length); }) == want;
}
