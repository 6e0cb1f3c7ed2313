#pragma once
// N_GuiMap: a picture of the track (the panel's own shader) with one square mark per
// racer on it; the player's mark has a picture of its own. Factory type "Map". The
// race HUD hands it the racers' places every frame (SetMarks, points of 0..1 across
// and down the map) and tells it which point is the player's (SetPlayerIndex); until
// then no point is, and every mark takes the mark picture.
//
// Render (its page or parent, after ApplyLayout): the panel, then every mark in point
// order (later marks cover earlier ones), centred on its place, with the element's
// alpha.
#include "core/Vector3.h"
#include "gui/GuiPanel.h"

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

class N_GuiMap : public N_GuiPanel {
 public:
  static constexpr const char* kTypeName = "Map";
  /// The player index before the HUD sets one: no point is the player's.
  static constexpr std::uint32_t kNoPlayer = std::numeric_limits<std::uint32_t>::max();

  struct Mark {
    float x = 0.0f;  ///< centre on the screen
    float y = 0.0f;
  };

  explicit N_GuiMap(std::string name);
  ~N_GuiMap() override = default;

  /// A new name gives back the reference its previous name took (the map picture, not
  /// the highlight shown while hovered), then becomes the picture; an empty name
  /// changes nothing.
  void SetShader(const std::string& name) override;
  void Render() override;
  const std::string& GetTypeName() const override;
  void BuildAttributes() override;

  /// One mark per point (x and y used), placed on the element where it stands now:
  /// (screen x + width x px, screen y + height x py).
  void SetMarks(std::span<const N_Vector3> points);
  void SetPlayerIndex(std::uint32_t index) { m_playerIndex = index; }
  std::uint32_t GetPlayerIndex() const { return m_playerIndex; }
  const std::vector<Mark>& Marks() const { return m_marks; }

  /// An empty name is ignored; else the picture's 2D shader (a reference is kept).
  void SetMarkShader(const std::string& name);
  const std::string& GetMarkShaderName() const { return m_markShaderName; }
  void SetPlayerMarkShader(const std::string& name);
  const std::string& GetPlayerMarkShaderName() const { return m_playerMarkShaderName; }
  std::int32_t GetMarkShader() const { return m_markShader; }
  std::int32_t GetPlayerMarkShader() const { return m_playerMarkShader; }
  /// Half the side of a mark, in screen units.
  void SetMarkSize(float size) { m_markSize = size; }
  float GetMarkSize() const { return m_markSize; }

 private:
  std::string m_markShaderName;
  std::string m_playerMarkShaderName;
  std::int32_t m_markShader = -1;  ///< -1 none: such marks are not drawn
  std::int32_t m_playerMarkShader = -1;
  float m_markSize = 3.0f;
  std::uint32_t m_playerIndex = kNoPlayer;
  std::vector<Mark> m_marks;
};
