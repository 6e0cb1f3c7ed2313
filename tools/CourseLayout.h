#pragma once
// The layouts of the sample courses and the ground they lie on. Every course shares
// the stadium (the start and finish areas, the shooting range, the penalty loop, laid
// out along the x axis of the stadium's own frame, travel towards +x); a layout places
// and turns that frame in the world, gives the loop that leaves the stadium and comes
// back to it, and shapes the hills. The stadium is flat; the hills rise around it.
// World units are inches, z is up.
#include "core/Vector3.h"
#include "tools/CourseGeometry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace course {

/// The stadium's frame: local plan points to world plan points.
struct Frame {
  Vec2 origin;         ///< the world point of local (0, 0)
  float angle = 0.0f;  ///< radians, counter-clockwise from the world's x axis

  Vec2 Point(Vec2 local) const;
  Vec2 Direction(Vec2 local) const;
  Vec2 Local(Vec2 world) const;
};

struct Layout {
  std::string name;  ///< the level's name: "Beitostolen"
  Frame frame;
  /// The loop's waypoints in the stadium's frame, from the stadium's exit back to its
  /// entry (the loop leaves and comes back along +x).
  std::vector<Vec2> loop;
  /// The waypoints at which the arcade short cut leaves the loop and joins it again,
  /// and the short cut's own waypoints between them.
  int shortCutFrom = 2;
  int shortCutTo = 5;
  std::vector<Vec2> shortCut;
  float hillHeight = 300.0f;  ///< amplitude of the hills
  std::uint32_t seed = 1;     ///< phases of the hills, places of the trees
  float sunAzimuth = 0.0f;    ///< radians, where the sun stands seen from the course
};

/// The sample layouts: "Beitostolen" and "Holmenkollen".
const std::vector<Layout>& Layouts();
/// The race levels of the full level table's rows 2 to 9, "Ostersund" to
/// "Khanty-Mansiysk": the two sample layouts' plans under other names, with hills,
/// trees and sun of their own.
const std::vector<Layout>& VariantLayouts();
/// The buddy games' practice course "Running": the stadium with a short, gentle loop.
const Layout& RunningLayout();
/// The layout of any of these courses by its name (any case), null when none: what
/// draws a course's pictures finds every course the game root holds.
const Layout* FindLayout(std::string_view name);

/// The ground's height: 0 in and around the stadium, hills further out.
class Terrain {
 public:
  explicit Terrain(const Layout& layout);
  float Height(Vec2 world) const;
  /// The unit upward normal of the ground.
  N_Vector3 Normal(Vec2 world) const;

 private:
  Frame m_frame;
  float m_amplitude;
  float m_phase[3];
};

}  // namespace course
