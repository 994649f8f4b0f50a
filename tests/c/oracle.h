#ifndef ZYL_TESTS_C_ORACLE_H_
#define ZYL_TESTS_C_ORACLE_H_

/* What the C++ exports give, for zyl_c_test.c to hold the C layer against. */

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum zyl_function { TRIM, TRIM_LEFT, TRIM_RIGHT, PAD, FILE_NAME, FILE_PATH, SHORT_PATH, TITLE };

struct zyl_case {
  enum zyl_function function;
  const char* text; /* TITLE: the window */
  size_t length;
  char fill; /* PAD's */
  int width, pad_left;
};

/* The export's result for the case; it lasts until the next call. */
size_t oracle_result(const struct zyl_case* c, const char** result);
/* Sets DEBUG (null: removes it) and gives Debug(). */
int oracle_debug(const char* value);
const char* oracle_log_name(void);
/* Whether the file `log` holds the record SendDebugMsg writes for the same text. Removes it. */
int oracle_same_record(const char* log, const char* text, size_t length);
/* Whether show(text, length) puts up the box ShowZYLMsg (error: ShowZYLError("user", ...)) does. */
int oracle_same_box(int error, void (*show)(const char*, size_t), const char* text, size_t length);

#ifdef __cplusplus
}
#endif

#endif /* ZYL_TESTS_C_ORACLE_H_ */
