#pragma once
// Inside the layer: where the contents of the device's one depth-stencil buffer are.
// While the back buffer is the window's own, the window has a depth-stencil buffer of
// its own and every other target shares the offscreen one. Each part (depth, stencil)
// is then held by one of the two, or is a clear of the whole part not made yet. Before
// a draw or a partial clear uses a part where it is not held, the part moves there:
// the waiting clear is made there, or the contents are copied. A frame clears both
// parts whole and then draws into the offscreen target and the window in turn, so the
// clears wait for the buffer that uses them and copies stay rare.
#include <array>
#include <cstdint>

namespace platform::d3d9 {

enum class DepthPlace : std::uint8_t { None, Offscreen, Window };
enum class DepthPart : std::uint8_t { Depth, Stencil };

/// One step before a part can be used at `to`: copy it from the other place, or (copy
/// false) clear it there to `depth` or `stencil`.
struct DepthMove {
  DepthPart part = DepthPart::Depth;
  bool copy = false;
  DepthPlace to = DepthPlace::None;
  float depth = 1.0f;
  std::uint32_t stencil = 0;
};

class GlDepthResidency {
 public:
  /// Both parts held by the offscreen buffer: a new device's, or a reset one's.
  void Reset() { m_parts = {}; }
  /// A clear of the whole part, made where the part is next used.
  void ClearWhole(DepthPart part, float depth, std::uint32_t stencil);
  /// Moves the parts to be used (depth, stencil) to `at`, filling moves with the steps to
  /// take there in order; returns how many. Parts already there need none.
  int Bring(DepthPlace at, bool depth, bool stencil, std::array<DepthMove, 2>& moves);

 private:
  struct Held {
    bool waiting = false;  ///< a whole clear not made yet: no buffer holds the part
    DepthPlace place = DepthPlace::Offscreen;
    float depth = 1.0f;
    std::uint32_t stencil = 0;
  };
  std::array<Held, 2> m_parts{};
};

}  // namespace platform::d3d9
