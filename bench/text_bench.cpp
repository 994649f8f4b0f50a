// Each text function against its floor: the least work any implementation must do for the same
// result, which is one string of the result's size, built once. Both run in alternating batches
// within one benchmark, so they share the machine's load; `ratio` is the function's median batch
// time over the floor's. See bench/README.md.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "floor.h"
#include "zyl/zyl.h"

namespace {

using zyl::bench::CompareWithFloor;

// The first argument of every benchmark here: calls per timed batch.
int BatchOf(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

// A plain copy of `length` bytes of `text` from `start`: the floor of every function whose result
// is a piece of its argument.
auto CopyFloor(const std::string& text, std::size_t start, std::size_t length) {
  return [&text, start, length] {
    std::string copy(text.data() + start, length);
    benchmark::DoNotOptimize(copy);
  };
}

std::string Untrimmed(std::size_t interior_size) {
  std::string text = "\t  ";
  for (std::size_t i = 0; text.size() < interior_size + 3; ++i) {
    text.push_back(static_cast<char>('!' + i * 7 % 94));  // printable, a blank now and then
    if (i % 11 == 10) text.back() = ' ';
  }
  return text + "\r\n";
}

// 24 bytes, trimmed to 19: too long for the small-string buffer, so both sides allocate.
const std::string& ShortText() {
  static const std::string text = " \t some value here, ok\r\n";
  return text;
}

const std::string& LongText() {
  static const std::string text = Untrimmed(1 << 20);
  return text;
}

const std::string& TextFor(std::int64_t size) { return size <= 64 ? ShortText() : LongText(); }

void BM_ZYLTrim(benchmark::State& state) {
  const std::string& text = TextFor(state.range(1));
  const std::string want = ZYLTrim(text);
  CompareWithFloor(
      state, BatchOf(state),
      [&text] {
        std::string trimmed = ZYLTrim(text);
        benchmark::DoNotOptimize(trimmed);
      },
      CopyFloor(text, text.find(want), want.size()));
}

void BM_ZYLTrimLeft(benchmark::State& state) {
  const std::string& text = TextFor(state.range(1));
  const std::string want = ZYLTrimLeft(text);
  CompareWithFloor(
      state, BatchOf(state),
      [&text] {
        std::string trimmed = ZYLTrimLeft(text);
        benchmark::DoNotOptimize(trimmed);
      },
      CopyFloor(text, text.size() - want.size(), want.size()));
}

void BM_ZYLTrimRight(benchmark::State& state) {
  const std::string& text = TextFor(state.range(1));
  const std::string want = ZYLTrimRight(text);
  CompareWithFloor(
      state, BatchOf(state),
      [&text] {
        std::string trimmed = ZYLTrimRight(text);
        benchmark::DoNotOptimize(trimmed);
      },
      CopyFloor(text, 0, want.size()));
}

// Args: batch, text length, width. The floor builds one string of the final width.
void BM_PadString(benchmark::State& state) {
  const ZYLString text(static_cast<std::size_t>(state.range(1)), '7');
  const auto width = static_cast<std::int32_t>(state.range(2));
  const bool pad_left = state.range(3) != 0;
  CompareWithFloor(
      state, BatchOf(state),
      [&text, width, pad_left] {
        ZYLString padded = PadString(text, ' ', width, pad_left);
        benchmark::DoNotOptimize(padded);
      },
      [width] {
        std::string built(static_cast<std::size_t>(width), ' ');
        benchmark::DoNotOptimize(built);
      });
}

// Typical paths: drive and UNC, short and long names, with and without blanks. Each call of
// either side goes through all of them.
const std::vector<ZYLString>& TypicalPaths() {
  static const std::vector<ZYLString> paths = {
      "C:\\Program Files\\Vendor Name\\Product\\bin\\program-launcher.exe",
      "C:\\Users\\someone\\Documents\\Quarterly Report 2023 (final).xlsx",
      "\\\\fileserver\\share\\projects\\build\\output\\release\\library_x64.dll",
      "D:\\data\\archive\\2024\\05\\measurements-station-17.csv",
      "C:\\Windows\\System32\\drivers\\etc\\hosts",
      "E:\\backup\\mail\\inbox-archive-2019-to-2021.pst",
  };
  return paths;
}

template <class Extract>
void ExtractAgainstFloor(benchmark::State& state, Extract extract) {
  const std::vector<ZYLString>& paths = TypicalPaths();
  std::vector<std::size_t> starts;
  std::vector<std::size_t> lengths;
  for (const ZYLString& path : paths) {
    const ZYLString want = extract(path);
    starts.push_back(path.rfind(want));
    lengths.push_back(want.size());
  }
  CompareWithFloor(
      state, BatchOf(state),
      [&paths, extract] {
        for (const ZYLString& path : paths) {
          ZYLString part = extract(path);
          benchmark::DoNotOptimize(part);
        }
      },
      [&paths, &starts, &lengths] {
        for (std::size_t i = 0; i < paths.size(); ++i) {
          std::string copy(paths[i].data() + starts[i], lengths[i]);
          benchmark::DoNotOptimize(copy);
        }
      });
}

void BM_ExtractFileName(benchmark::State& state) {
  ExtractAgainstFloor(state, [](const ZYLString& path) { return ExtractFileName(path); });
}

void BM_ExtractFilePath(benchmark::State& state) {
  ExtractAgainstFloor(state, [](const ZYLString& path) { return ExtractFilePath(path); });
}

// Batches of about 20-50 us: long enough for the clock, short enough to interleave finely.
constexpr std::int64_t kSmallBatch = 1000;
constexpr std::int64_t kLargeBatch = 2;

void TrimArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"batch", "bytes"})->Args({kSmallBatch, 24})->Args({kLargeBatch, 1 << 20});
}

}  // namespace

BENCHMARK(BM_ZYLTrim)->Apply(TrimArgs)->UseManualTime();
BENCHMARK(BM_ZYLTrimLeft)->Apply(TrimArgs)->UseManualTime();
BENCHMARK(BM_ZYLTrimRight)->Apply(TrimArgs)->UseManualTime();
BENCHMARK(BM_PadString)
    ->ArgNames({"batch", "len", "width", "left"})
    ->Args({kSmallBatch, 5, 24, 1})
    ->Args({kSmallBatch, 20, 80, 0})
    ->Args({kSmallBatch, 100, 120, 1})
    ->Args({kSmallBatch / 10, 1000, 1200, 0})
    ->Args({kSmallBatch / 10, 4000, 4400, 0})
    ->Args({kSmallBatch / 100, 32000, 33000, 0})  // the text is nearly all: see README
    ->Args({kLargeBatch, 1 << 19, 1 << 20, 1})
    ->UseManualTime();
BENCHMARK(BM_ExtractFileName)->Arg(kSmallBatch / 4)->ArgName("batch")->UseManualTime();
BENCHMARK(BM_ExtractFilePath)->Arg(kSmallBatch / 4)->ArgName("batch")->UseManualTime();
