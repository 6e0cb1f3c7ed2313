#pragma once
// N_Sipka: the race's 3D markers that are not skiers (the direction arrow, the finish
// arrow, the penalty-loop arrow with a board showing the loops left, the starter who
// gives the start) and the mapping of world positions onto the HUD's mini-map by the
// level's "MapQuad" rectangle. Each set is an animation set of its own with one
// instance; the boards "c1" to "c5" are the five meshes of the penalty-count set.
//
// A game mode (or its race simulation) owns one: Load when the race is loaded;
// CreateShadows, LoadMapQuad and the starter's place in its Init; every frame the
// places, the marks (UpdateMapMarks) and the draws (RenderArrow, RenderFinish,
// ShowSipkaPenalty, RenderStarter).
#include "core/Matrix3.h"
#include "core/Vector3.h"
#include "scene/AnimationFactory.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class N_Sipka {
 public:
  static constexpr float kFrameRate = 30.0f;
  /// The sets, in the order they are held.
  enum Set : int { kArrow = 0, kPenaltyCount = 1, kPenaltyArrow = 2, kFinish = 3, kStarter = 4, kSetCount = 5 };
  static constexpr int kBoardCount = 5;

  /// Every index -1, no sets.
  N_Sipka() = default;
  N_Sipka(const N_Sipka&) = delete;
  N_Sipka& operator=(const N_Sipka&) = delete;

  /// The five sets (direction arrow, finish arrow, penalty arrow, penalty count,
  /// starter): meshes, actions, one instance each with its first action started and
  /// queued at 30 frames a second; then the shaders and textures the meshes name.
  /// False at once when a mesh, an action or an instance fails.
  bool Load();
  /// The shadow volumes of every set.
  void CreateShadows();

  /// A marker's place and its rotation from the direction.
  void SetArrowPlace(const N_Vector3& position, const N_Vector3& direction);
  void SetFinishPlace(const N_Vector3& position, const N_Vector3& direction);
  void SetPenaltyPlace(const N_Vector3& position, const N_Vector3& direction);
  void SetStarterPlace(const N_Vector3& position, const N_Vector3& direction);

  /// Advance and draw one marker at its place.
  void RenderArrow(float frameTime);
  void RenderFinish(float frameTime);
  void RenderStarter(float frameTime);
  /// count 0: nothing; 1 to 6: the penalty arrow and the board c<count> (6 keeps the
  /// board shown before); any other count: one error line, nothing drawn.
  void ShowSipkaPenalty(float frameTime, std::int32_t count);
  /// Queues the starter's start (played once).
  void StartStarter();

  /// Reads "MapQuad" (x0 y0 x1 y1; missing numbers 0.0) and resets the mini-map.
  void LoadMapQuad();
  /// Hands the mini-map a mark per position (MapMark).
  void UpdateMapMarks(std::vector<N_Vector3> positions);
  /// (|x - x0| / width, |y - y0| / height, z / height scale); 0.0 on an axis of no size.
  N_Vector3 MapMark(const N_Vector3& position) const;

  /// The direction arrow's place and rotation, as last set.
  const N_Vector3& ArrowPlace() const { return m_arrowPlace; }
  const N_Matrix3& ArrowRotation() const { return m_arrowRotation; }
  float MapWidth() const { return m_mapWidth; }
  float MapHeight() const { return m_mapHeight; }
  const std::array<float, 4>& MapQuad() const { return m_mapQuad; }
  /// Set k (null before Load).
  N_AnimationFactory* SetAt(int k) const { return k >= 0 && k < kSetCount ? m_sets[std::size_t(k)].get() : nullptr; }
  int ArrowInstance() const { return m_arrowInstance; }
  int FinishInstance() const { return m_finishInstance; }
  int BoardInstance() const { return m_boardInstance; }
  int StarterInstance() const { return m_starterInstance; }
  int StarterStartAction() const { return m_starterStartAction; }

 private:
  /// One set: its meshes, its actions, an instance on the first mesh with the first
  /// action started and queued. False when anything fails.
  bool LoadSet(Set set, const std::vector<const char*>& meshes, const std::vector<std::pair<const char*, bool>>& actions,
               int& instance, int& mesh, std::vector<int>& actionIndices);
  /// Advances and draws an instance of a set.
  void Draw(Set set, int instance, float frameTime, const N_Vector3& position, const N_Matrix3& rotation, bool force);

  int m_arrowInstance = -1, m_arrowMesh = -1, m_arrowAction = -1;
  int m_finishInstance = -1, m_finishMesh = -1, m_finishAction = -1;
  int m_boardInstance = -1, m_boardMesh = -1, m_boardAction = -1;
  int m_starterInstance = -1, m_starterMesh = -1, m_starterStandAction = -1, m_starterStartAction = -1;
  std::array<std::unique_ptr<N_AnimationFactory>, kSetCount> m_sets;
  N_Vector3 m_finishPlace, m_arrowPlace, m_penaltyPlace, m_starterPlace;
  N_Matrix3 m_arrowRotation, m_finishRotation, m_penaltyRotation, m_starterRotation;
  std::array<float, 4> m_mapQuad{};  ///< x0, y0, x1, y1
  float m_mapWidth = 0.0f, m_mapHeight = 0.0f;
  float m_heightScale = 1.0f;
};
