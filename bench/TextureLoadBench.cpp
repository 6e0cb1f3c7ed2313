// Loading one large DXT1 texture without mip levels in its file, as D3DX does for the
// texture manager: the full mip chain is made (the top level decoded, halved level by
// level, each level encoded again) and uploaded to the OpenGL device. Reports the time
// a load takes and the process's peak memory above what it held before the load,
// against the decoded size of the top level (width x height x 4 bytes); once with the
// texture at its size and once with r_picmip 1 (every level resampled from the top).
// Run under Xvfb:
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/render_bench --benchmark_filter=LoadDxt1
#include "bench/BenchTemp.h"
#include "platform/d3d9.h"
#include "platform/d3dx9.h"
#include "platform/win32/TestWindow.h"
#include "tools/DdsWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

/// Kilobytes of a "VmRSS:"-style line of /proc/self/status.
long StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t length = std::strlen(field);
  while (std::getline(status, line)) {
    if (line.compare(0, length, field) == 0) return std::atol(line.c_str() + length);
  }
  return 0;
}

/// Starts the peak (VmHWM) again from the present resident size.
void ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

/// A DXT1 file of side x side without mips: a header from the DDS writer, then blocks
/// of a smooth colour field with some noise (what the encoder sees in real textures).
fs::path WriteLargeDxt1(std::uint32_t side) {
  const fs::path path = bench::TempFolder() / ("navo_bench_" + std::to_string(side) + ".dds");
  if (fs::exists(path) && fs::file_size(path) == 128 + std::uintmax_t(side) * side / 2) return path;
  datagen::RgbaImage tiny(4, 4);
  datagen::DdsOptions options;
  options.format = datagen::DdsFormat::Dxt1;
  std::vector<std::uint8_t> file = datagen::EncodeDds(tiny, options);
  file.resize(128);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
  };
  put32(12, side);             // height
  put32(16, side);             // width
  put32(20, side * side / 2);  // linear size
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  std::vector<std::uint8_t> row(std::size_t(side / 4) * 8);
  std::uint32_t noise = 12345;
  for (std::uint32_t by = 0; by < side / 4; ++by) {
    for (std::uint32_t bx = 0; bx < side / 4; ++bx) {
      noise = noise * 1103515245u + 12345u;
      const std::uint32_t r = (bx * 31 / (side / 4)) & 31, g = (by * 63 / (side / 4)) & 63;
      const std::uint32_t c0 = (r << 11) | (g << 5) | ((noise >> 16) & 31), c1 = c0 ^ 0x0841u;
      std::uint8_t* block = &row[std::size_t(bx) * 8];
      block[0] = std::uint8_t(c0), block[1] = std::uint8_t(c0 >> 8);
      block[2] = std::uint8_t(c1), block[3] = std::uint8_t(c1 >> 8);
      for (int i = 4; i < 8; ++i) block[i] = std::uint8_t(noise >> (i * 3));
    }
    out.write(reinterpret_cast<const char*>(row.data()), std::streamsize(row.size()));
  }
  return path;
}

void LoadDxt1(benchmark::State& state) {
  const auto side = std::uint32_t(state.range(0));
  const auto picmip = std::uint32_t(state.range(1));
  const fs::path path = WriteLargeDxt1(side);
  const HWND window = platform::CreateTestWindow(64, 64);
  IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
  D3DPRESENT_PARAMETERS params{};
  params.Windowed = TRUE;
  params.SwapEffect = D3DSWAPEFFECT_DISCARD;
  params.hDeviceWindow = window;
  IDirect3DDevice9* device = nullptr;
  if (!d3d || FAILED(d3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &params,
                                       &device))) {
    state.SkipWithError("no OpenGL device");
  } else {
    long peakAbove = 0;
    for (auto _ : state) {
      const long before = StatusKilobytes("VmRSS:");
      ResetPeak();
      IDirect3DTexture9* texture = nullptr;
      const HRESULT result = D3DXCreateTextureFromFileExA(
          device, path.c_str(), side >> picmip, side >> picmip, D3DX_DEFAULT, 0, D3DFMT_DXT1, D3DPOOL_MANAGED,
          D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture);
      peakAbove = std::max(peakAbove, StatusKilobytes("VmHWM:") - before);
      if (FAILED(result)) {
        state.SkipWithError("the load failed");
        break;
      }
      texture->Release();
    }
    const double decodedMiB = double(side) * side * 4 / 1048576.0;
    state.counters["peak MiB"] = double(peakAbove) / 1024.0;
    state.counters["decoded MiB"] = decodedMiB;
    state.counters["peak/decoded"] = double(peakAbove) / 1024.0 / decodedMiB;
  }
  if (device) device->Release();
  if (d3d) d3d->Release();
  platform::DestroyTestWindow(window);
}

BENCHMARK(LoadDxt1)->Args({8192, 0})->Args({8192, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(LoadDxt1)->Args({16384, 0})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
