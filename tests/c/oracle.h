#ifndef ZYL_TESTS_C_ORACLE_H_
#define ZYL_TESTS_C_ORACLE_H_

/* The C++ exports' answers, for zyl_c_test.c to hold the C interface against. */
#include <stddef.h>
#ifdef __cplusplus
extern "C" {
#endif

enum zyl_function { TRIM, TRIM_LEFT, TRIM_RIGHT, PAD, FILE_NAME, FILE_PATH, SHORT_PATH, TITLE };
struct zyl_case {
  enum zyl_function function;
  const char* text;
  size_t length;
  char fill; /* PAD's, on the left */
  int width;
};
/* The export's result for the case, until the next call. */
size_t oracle_result(const struct zyl_case* c, const char** result);
/* Sets DEBUG (null: removes it) and gives Debug(). */
int oracle_debug(const char* value);
/* Whether LogName's file holds the record SendDebugMsg writes for the text. Removes it. */
int oracle_same_record(const char* text, size_t length);
/* Whether `show` puts up the one box ShowZYLMsg (error: ShowZYLError("user", ...)) does. */
int oracle_same_box(int error, void (*show)(const char*, size_t), const char* text, size_t length);

#ifdef __cplusplus
}
#endif
#endif /* ZYL_TESTS_C_ORACLE_H_ */
