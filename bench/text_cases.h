#ifndef ZYL_BENCH_TEXT_CASES_H_
#define ZYL_BENCH_TEXT_CASES_H_

// The text functions' cases, shared by the Linux benchmark (text_bench.cpp) and the Windows
// harness (windows_bench.cpp). Each case is the function on one typical input, its floor, the
// least work any implementation must do for the same result (one string of the result's size,
// built once), and where there is one a peer: the same result written the plain way, inline in
// the caller, without the library's call or its locale rule.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "measure.h"
#include "zyl/zyl.h"

namespace zyl::bench {

struct CaseInfo {
  std::string name;
  int batch;     // calls per timed batch: about 20-50 us natively
  double bytes;  // a scan's bytes per call, reported as ns per byte; 0 elsewhere
};

struct NoPeer {};  // for cases without a peer

namespace text_cases {

inline std::string Untrimmed(std::size_t interior_size) {
  std::string text = "\t  ";
  for (std::size_t i = 0; text.size() < interior_size + 3; ++i) {
    text.push_back(static_cast<char>('!' + i * 7 % 94));  // printable, a blank now and then
    if (i % 11 == 10) text.back() = ' ';
  }
  return text + "\r\n";
}

// A trim that ignores the locale: the "C" set (0x00-0x20 and 0x7F), a byte at a time.
inline std::string AsciiTrim(const std::string& text, bool left, bool right) {
  const auto trimmable = [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= ' ' || byte == 0x7F;
  };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (left && begin < end && trimmable(text[begin])) ++begin;
  while (right && end > begin && trimmable(text[end - 1])) --end;
  return std::string(text.data() + begin, end - begin);
}

// A copy of `length` bytes of `text` from `start`: the floor of every function whose result is a
// piece of its argument.
inline auto CopyOf(const std::string& text, std::size_t start, std::size_t length) {
  return [&text, start, length] {
    std::string copy(text.data() + start, length);
    Keep(copy);
  };
}

template <class Visit, class Trim>
void VisitTrim(const Visit& visit, const std::string& name, const Trim& trim, bool left,
               bool right) {
  static const std::string text24 = " \t some value here, ok\r\n";  // 19 bytes kept: allocates
  static const std::string text16 = "  item 42, ok \r\n";  // kept bytes fit the inline buffer
  static const std::string text_1mib = Untrimmed(1 << 20);
  static const std::string blanks_1mib(1 << 20, ' ');
  const struct {
    const char* label;
    const std::string& text;
    int batch;
    bool scan_only;
  } inputs[] = {
      {"24B", text24, 1000, false},
      {"16B", text16, 1000, false},
      {"1MiB", text_1mib, 2, false},
      {"1MiB-blanks", blanks_1mib, 4, true},
  };
  for (const auto& in : inputs) {
    const std::string& text = in.text;
    const std::string want = trim(text);
    visit(
        CaseInfo{name + "/" + in.label, in.batch, in.scan_only ? double(text.size()) : 0},
        [&text, trim] {
          std::string trimmed = trim(text);
          Keep(trimmed);
        },
        CopyOf(text, text.find(want), want.size()),
        [&text, left, right] {
          std::string trimmed = AsciiTrim(text, left, right);
          Keep(trimmed);
        });
  }
}

// The peer of every pad is its second floor, for the fields the text fills nearly alone: one
// allocation, the fill written once and the text copied once, inline in the caller.
template <class Visit>
void VisitPad(const Visit& visit) {
  const struct {
    std::size_t length;
    std::int32_t width;
    bool pad_left;
    int batch;
  } pads[] = {
      {5, 24, true, 1000},         {20, 80, false, 1000},    {100, 120, true, 1000},
      {1000, 1200, false, 100},    {4000, 4400, false, 100}, {32000, 33000, false, 10},
      {1 << 19, 1 << 20, true, 2},
  };
  for (const auto& p : pads) {
    const auto text = std::make_shared<const ZYLString>(p.length, '7');
    const std::int32_t width = p.width;
    const bool pad_left = p.pad_left;
    visit(
        CaseInfo{"PadString/" + std::to_string(p.length) + "to" + std::to_string(p.width) +
                     (pad_left ? "/left" : "/right"),
                 p.batch, 0},
        [text, width, pad_left] {
          ZYLString padded = PadString(*text, ' ', width, pad_left);
          Keep(padded);
        },
        [width] {
          std::string built(static_cast<std::size_t>(width), ' ');
          Keep(built);
        },
        [text, width, pad_left] {
          const std::size_t fill_count = static_cast<std::size_t>(width) - text->size();
          std::string padded;
          padded.reserve(static_cast<std::size_t>(width));
          if (pad_left) padded.append(fill_count, ' ');
          padded.append(*text);
          if (!pad_left) padded.append(fill_count, ' ');
          Keep(padded);
        });
  }
}

// A path of `length` bytes: folders, then a 19-byte file name.
inline ZYLString PathOf(std::size_t length) {
  std::string path = "C:\\data";
  while (path.size() + 8 + 20 <= length) path += "\\folder1";
  path += std::string(length - path.size() - 20, 'x');
  return path + "\\measurements-17.csv";
}

// `name_wanted`: the piece after the last separator, else the piece up to it.
template <class Visit, class Extract>
void VisitExtract(const Visit& visit, const std::string& name, const Extract& extract,
                  bool name_wanted) {
  // Typical paths: drive and UNC, short and long names, with and without blanks.
  static const std::vector<ZYLString> typical = {
      "C:\\Program Files\\Vendor Name\\Product\\bin\\program-launcher.exe",
      "C:\\Users\\someone\\Documents\\Quarterly Report 2023 (final).xlsx",
      "\\\\fileserver\\share\\projects\\build\\output\\release\\library_x64.dll",
      "D:\\data\\archive\\2024\\05\\measurements-station-17.csv",
      "C:\\Windows\\System32\\drivers\\etc\\hosts",
      "E:\\backup\\mail\\inbox-archive-2019-to-2021.pst",
  };
  static const std::vector<ZYLString> short_path = {PathOf(30)};
  static const std::vector<ZYLString> middle_path = {PathOf(120)};
  static const std::vector<ZYLString> long_path = {PathOf(260)};
  const struct {
    const char* label;
    const std::vector<ZYLString>& paths;
    int batch;
  } sets[] = {
      {"six-typical", typical, 250},
      {"30B", short_path, 1000},
      {"120B", middle_path, 1000},
      {"260B", long_path, 1000},
  };
  for (const auto& set : sets) {
    const std::vector<ZYLString>& paths = set.paths;
    auto starts = std::make_shared<std::vector<std::size_t>>();
    auto lengths = std::make_shared<std::vector<std::size_t>>();
    for (const ZYLString& path : paths) {
      const ZYLString want = extract(path);
      starts->push_back(path.rfind(want));
      lengths->push_back(want.size());
    }
    visit(
        CaseInfo{name + "/" + set.label, set.batch, 0},
        [&paths, extract] {
          for (const ZYLString& path : paths) {
            ZYLString part = extract(path);
            Keep(part);
          }
        },
        [&paths, starts, lengths] {
          for (std::size_t i = 0; i < paths.size(); ++i) {
            std::string copy(paths[i].data() + (*starts)[i], (*lengths)[i]);
            Keep(copy);
          }
        },
        [&paths, name_wanted] {
          for (const ZYLString& path : paths) {
            const std::size_t cut = path.find_last_of("\\:") + 1;
            std::string part = name_wanted ? path.substr(cut) : path.substr(0, cut);
            Keep(part);
          }
        });
  }
}

}  // namespace text_cases

// Calls visit(info, op, floor, peer) for every text case; `peer` is NoPeer{} where there is none.
template <class Visit>
void ForEachTextCase(const Visit& visit) {
  using namespace text_cases;
  VisitTrim(
      visit, "ZYLTrim", [](const std::string& text) { return ZYLTrim(text); }, true, true);
  VisitTrim(
      visit, "ZYLTrimLeft", [](const std::string& text) { return ZYLTrimLeft(text); }, true, false);
  VisitTrim(
      visit, "ZYLTrimRight", [](const std::string& text) { return ZYLTrimRight(text); }, false,
      true);
  VisitPad(visit);
  VisitExtract(
      visit, "ExtractFileName", [](const ZYLString& path) { return ExtractFileName(path); }, true);
  VisitExtract(
      visit, "ExtractFilePath", [](const ZYLString& path) { return ExtractFilePath(path); }, false);
}

}  // namespace zyl::bench

#endif  // ZYL_BENCH_TEXT_CASES_H_
