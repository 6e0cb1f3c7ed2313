// N_TableFile over large AI-table-shaped files: opening (read, comment stripping) and
// handing out every field. Two shapes: a comment line before every line of fields (the
// case that was quadratic), and fields with a comment at the end of each line.
// Run by hand:
//   build/bench/core_bench --benchmark_filter=TableFile
#include "bench/BenchTemp.h"
#include "core/TableFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

enum Shape { kCommentLines = 0, kTrailingComments = 1 };

/// Writes a table of the given number of lines into the temporary folder; its path.
std::string WriteTable(long lines, Shape shape) {
  const std::string path =
      (bench::TempFolder() / ("navo-table-bench-" + std::to_string(shape) + ".txt")).string();
  std::string text;
  for (long i = 0; i < lines; ++i) {
    if (shape == kCommentLines) {
      text += (i % 2 == 0) ? "// speed, power and heart rate of the step\n" : "0.85\t120.5\t-3\t\"slow\"\n";
    } else {
      text += "0.85 120.5 -3 17 // speed, power, slope, step\n";
    }
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  return path;
}

void BM_TableFile(benchmark::State& state) {
  const long lines = state.range(0);
  const auto shape = static_cast<Shape>(state.range(1));
  const std::string path = WriteTable(lines, shape);
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  long fields = 0;
  for (auto _ : state) {
    N_TableFile table;
    if (!table.Open(path)) state.SkipWithError("cannot open the table");
    fields = 0;
    while (!table.NextField().empty()) ++fields;
    benchmark::DoNotOptimize(fields);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["fields"] = static_cast<double>(fields);
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
  std::filesystem::remove(path);
}

BENCHMARK(BM_TableFile)
    ->ArgNames({"lines", "trailing"})
    ->Args({100000, kCommentLines})
    ->Args({1000000, kCommentLines})
    ->Args({1000000, kTrailingComments})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
