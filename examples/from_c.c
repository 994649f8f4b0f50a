/* The C interface: a text's length is asked first, then a buffer of that size and one more. */
#include <stdio.h>
#include <stdlib.h>
#include <zyl/zyl_c.h>

int main(void) {
  const char path[] = "  C:\\Reports\\2006\\march.txt \r\n";
  char cell[6];
  char* trimmed;
  char name[64];
  size_t length = zyl_trim(path, ZYL_NUL_TERMINATED, NULL, 0);
  trimmed = malloc(length + 1);
  if (trimmed == NULL) return 1;
  zyl_trim(path, ZYL_NUL_TERMINATED, trimmed, length + 1);
  /* A buffer too small still gets what fits and a NUL; the return value says the whole length. */
  if (zyl_extract_file_name(trimmed, length, name, sizeof name) >= sizeof name) return 1;
  zyl_pad("42", 2, '0', 5, 1, cell, sizeof cell);
  printf("zyl_trim              [%s]\n", trimmed);
  printf("zyl_extract_file_name [%s]\n", name);
  printf("zyl_pad               [%s]\n", cell);
  free(trimmed);
  return 0;
}
