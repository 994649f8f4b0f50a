#ifndef ZYL_TESTS_FRAME_EXPORT_NAMES_H_
#define ZYL_TESTS_FRAME_EXPORT_NAMES_H_

#include <string>
#include <vector>

namespace zyl::testing {

// Every name the library under test exports, as its loader tables hold it (decorated names stay
// decorated). An export reachable by ordinal alone appears as "#<ordinal>".
std::vector<std::string> ExportedNames();

}  // namespace zyl::testing

#endif  // ZYL_TESTS_FRAME_EXPORT_NAMES_H_
