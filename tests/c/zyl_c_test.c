/* The C interface, called from C, against the C++ exports on the same inputs. */
#include "zyl/zyl_c.h"

#include <stdio.h>
#include <string.h>

#include "oracle.h"

#define NT ZYL_NUL_TERMINATED
static int failures = 0;
#define CHECK(ok) \
  (void)((ok) || fprintf(stderr, "line %d, case %d: %s\n", __LINE__, i, #ok) + ++failures)

static const struct zyl_case cases[] = {
    {TRIM, " \0a\0b \r\n", 8, 0, 0}, /* NULs inside kept */
    {TRIM, "  a\0b  ", NT, 0, 0},    /* up to the first NUL */
    {TRIM_LEFT, NULL, 5, 0, 0},      /* null: empty, whatever the length */
    {TRIM_RIGHT, "\t\0x\0 ", 5, 0, 0},
    {PAD, "42\0", 3, '\0', 300},
    {PAD, "abc", NT, '*', -1},
    {FILE_NAME, "C:\\dir\\a\0b.txt", 14, 0, 0},
    {FILE_PATH, "C:\\dir\\a\0b.txt", 14, 0, 0},
    {SHORT_PATH, ".", NT, 0, 0},
    {SHORT_PATH, "no such file", NT, 0, 0},
    {TITLE, NULL, 0, 0, 0}, /* the executable's file name; on Linux empty */
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
      return zyl_pad(c->text, c->length, c->fill, c->width, 1, out, size);
    case FILE_NAME:
      return zyl_extract_file_name(c->text, c->length, out, size);
    case FILE_PATH:
      return zyl_extract_file_path(c->text, c->length, out, size);
    case SHORT_PATH:
      return zyl_short_path_name(c->text, c->length, out, size);
    default:
      return zyl_window_title(NULL, out, size);
  }
}

static void ShowMsg(const char* text, size_t length) { zyl_show_msg(text, length); }
static void ShowError(const char* text, size_t length) { zyl_show_error("user", NT, text, length); }

int main(void) {
  static const char* const debug[] = {"oN", "ON ", NULL};
  char out[512], in_place[] = "  a\0b  ";
  const char* want;
  int i, s;
  for (i = 0; i < (int)(sizeof cases / sizeof cases[0]); ++i) {
    const size_t length = oracle_result(&cases[i], &want), sizes[] = {0, length, length + 1};
    CHECK(length < 500 && Call(&cases[i], NULL, 0) == length);
    for (s = 0; s < 3; ++s) { /* snprintf's contract at each size that matters */
      const size_t kept = sizes[s] == 0 ? 0 : sizes[s] - 1 < length ? sizes[s] - 1 : length;
      memset(out, '#', sizeof out);
      CHECK(Call(&cases[i], out, sizes[s]) == length && memcmp(out, want, kept) == 0);
      CHECK((sizes[s] == 0 || out[kept] == '\0') && out[kept + (sizes[s] != 0)] == '#');
    }
  }
  CHECK(zyl_trim(in_place, 7, in_place, 4) == 3 && memcmp(in_place, "a\0b", 4) == 0);
  for (i = 0; i < 3; ++i) {
    CHECK(oracle_debug(debug[i]) == zyl_debug());
    CHECK(oracle_same_box(0, ShowMsg, "shown\0hidden", 12));
    CHECK(oracle_same_box(1, ShowError, "detail", NT) && oracle_same_box(1, ShowError, NULL, 3));
  }
  zyl_set_log_name("zyl_c_test.log");
  zyl_send_debug_msg("a\0b\nc", 5);
  CHECK(strcmp(zyl_log_name(), "zyl_c_test.log") == 0 && oracle_same_record("a\0b\nc", 5));
  printf("%d failed\n", failures);
  return failures != 0;
}
