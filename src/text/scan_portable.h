#ifndef ZYL_TEXT_SCAN_PORTABLE_H_
#define ZYL_TEXT_SCAN_PORTABLE_H_

// The byte scans of trimming and path splitting in plain C++, a byte at a time: the path of
// targets without SSE2 and of ranges shorter than a vector, and the reference the vector scans
// must agree with.

namespace zyl::portable {

// The six bytes C makes white space in every locale: " \t\n\v\f\r".
inline bool IsBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte == ' ' || static_cast<unsigned char>(byte - '\t') <= '\r' - '\t';
}

inline bool IsSeparator(char c) { return c == '\\' || c == ':'; }

// The first byte in [p, end) that is not a blank, or `end`.
inline const char* SkipBlanks(const char* p, const char* end) {
  while (p != end && IsBlank(*p)) ++p;
  return p;
}

// The start of the run of blanks that ends at `end`, `begin` at the earliest.
inline const char* SkipBlanksBack(const char* begin, const char* end) {
  while (end != begin && IsBlank(end[-1])) --end;
  return end;
}

// Just past the last backslash or colon in [begin, end), or `begin` when there is none.
inline const char* PastLastSeparator(const char* begin, const char* end) {
  while (end != begin && !IsSeparator(end[-1])) --end;
  return end;
}

}  // namespace zyl::portable

#endif  // ZYL_TEXT_SCAN_PORTABLE_H_
