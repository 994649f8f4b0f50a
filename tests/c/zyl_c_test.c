/* The C interface, called from C, against the C++ exports on the same inputs. */
#include "zyl/zyl_c.h"

#include <stdio.h>
#include <string.h>

#include "oracle.h"

static int failures = 0;
#define CHECK(row, ok) \
  ((ok) ? (void)0      \
        : (void)(++failures, fprintf(stderr, "case or line %d: failed: %s\n", (int)(row), #ok)))
#define NT ZYL_NUL_TERMINATED

static const struct zyl_case cases[] = {
    {TRIM, " \0a\0b \r\n", 8, 0, 0, 0}, /* NULs inside kept */
    {TRIM, "  a\0b  ", NT, 0, 0, 0},    /* up to the first NUL */
    {TRIM, NULL, 5, 0, 0, 0},           /* null: empty, whatever the length */
    {TRIM_LEFT, "\t\0x\0 ", 5, 0, 0, 0},
    {TRIM_RIGHT, "\t\0x\0 ", 5, 0, 0, 0},
    {PAD,
     "4\0"
     "2",
     3, '0', 8, 1},
    {PAD, "ab", 2, '\0', 300, 0},
    {PAD, "abc", NT, '*', -1, 1},
    {PAD, NULL, 0, '-', 4, 0},
    {FILE_NAME, "C:\\dir\\a\0b.txt", 14, 0, 0, 0},
    {FILE_PATH, "C:\\dir\\a\0b.txt", 14, 0, 0, 0},
    {FILE_NAME, "no separator", NT, 0, 0, 0},
    {SHORT_PATH, ".", NT, 0, 0, 0},
    {SHORT_PATH, "no such file", NT, 0, 0, 0},
    {TITLE, NULL, 0, 0, 0, 0}, /* the executable's file name; on Linux empty */
};

static size_t Call(const struct zyl_case* c, char* out, size_t size) {
  switch (c->function) {
    case TRIM:
      return zyl_trim(c->text, c->length, out, size);
    case TRIM_LEFT:
      return zyl_trim_left(c->text, c->length, out, size);
    case TRIM_RIGHT:
      return zyl_trim_right(c->text, c->length, out, size);
    case PAD:
      return zyl_pad(c->text, c->length, c->fill, c->width, c->pad_left, out, size);
    case FILE_NAME:
      return zyl_extract_file_name(c->text, c->length, out, size);
    case FILE_PATH:
      return zyl_extract_file_path(c->text, c->length, out, size);
    case SHORT_PATH:
      return zyl_short_path_name(c->text, c->length, out, size);
    default:
      return zyl_window_title((void*)c->text, out, size);
  }
}

/* snprintf's contract at each size that matters: none, one short of the whole, the whole. */
static void CheckResult(int row, const struct zyl_case* c) {
  const char* want;
  const size_t length = oracle_result(c, &want);
  const size_t sizes[] = {0, length, length + 1};
  char out[512];
  size_t i, kept;
  CHECK(row, length + 2 <= sizeof out && Call(c, NULL, 0) == length);
  for (i = 0; i < 3 && length + 2 <= sizeof out; ++i) {
    memset(out, '#', sizeof out);
    kept = sizes[i] == 0 ? 0 : (sizes[i] - 1 < length ? sizes[i] - 1 : length);
    CHECK(row, Call(c, out, sizes[i]) == length && memcmp(out, want, kept) == 0);
    CHECK(row, (sizes[i] == 0 || out[kept] == '\0') && out[kept + (sizes[i] != 0)] == '#');
  }
}

static void ShowMsg(const char* text, size_t length) { zyl_show_msg(text, length); }
static void ShowError(const char* detail, size_t length) {
  zyl_show_error("user", NT, detail, length);
}

int main(void) {
  static const char* const debug[] = {"oN", "ON ", NULL};
  static const char log[] = "zyl_c_test.log";
  char in_place[] = "  a\0b  ";
  int i;
  for (i = 0; i < (int)(sizeof cases / sizeof cases[0]); ++i) CheckResult(i, &cases[i]);
  CHECK(__LINE__, zyl_trim(in_place, 7, in_place, 4) == 3 && memcmp(in_place, "a\0b", 4) == 0);
  for (i = 0; i < 3; ++i) {
    CHECK(__LINE__, oracle_debug(debug[i]) == zyl_debug());
    CHECK(__LINE__, oracle_same_box(0, ShowMsg, "shown\0hidden", 12));
    CHECK(__LINE__, oracle_same_box(1, ShowError, "detail", NT));
    CHECK(__LINE__, oracle_same_box(1, ShowError, NULL, 3));
  }
  CHECK(__LINE__, zyl_log_name() == oracle_log_name());
  zyl_set_log_name(log);
  CHECK(__LINE__, oracle_log_name() == log);
  zyl_send_debug_msg("a\0b\nc", 5);
  CHECK(__LINE__, oracle_same_record(log, "a\0b\nc", 5));
  printf("%d failed\n", failures);
  return failures != 0;
}
