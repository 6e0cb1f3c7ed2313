#include "gui/GuiModel.h"

#include "core/Globals.h"
#include "core/Matrix3.h"
#include "core/StringUtil.h"
#include "core/Timer.h"
#include "core/VarMng.h"
#include "gui/GuiFigures.h"
#include "gui/GuiPage.h"
#include "gui/GuiServices.h"
#include "render/Render.h"
#include "render/TextBatch.h"

#include <cmath>

namespace {

constexpr float kFramesPerSecond = 30.0f;
/// The camera looks at this height above the figure's feet.
constexpr float kLookHeight = 30.0f;
constexpr std::int32_t kDirectional = 1;

void SetColour(float (&out)[3], const N_Vector3& v) {
  out[0] = v.x;
  out[1] = v.y;
  out[2] = v.z;
}

N_Vector3 ColourOf(const float (&c)[3]) { return {c[0], c[1], c[2]}; }

}  // namespace

N_GuiModel::N_GuiModel(std::string name) : N_GuiPanel(std::move(name)) {
  m_light.type = kDirectional;
  SetColour(m_light.direction, {-1.0f, 0.0f, -1.0f});
  SetColour(m_light.diffuse, {1.0f, 1.0f, 1.0f});
  SetColour(m_light.ambient, {0.5f, 0.5f, 0.5f});
  SetColour(m_light.specular, {0.5f, 0.5f, 0.5f});
  m_light.changed = 1;
  if (RegisterClass("N_GuiModel")) N_GuiModel::BuildAttributes();
}

const std::string& N_GuiModel::GetTypeName() const {
  static const std::string name(kTypeName);
  return name;
}

void N_GuiModel::SetPositionText(const std::string& text) { m_position = StringToVec3(GuiNumbers(text)); }
std::string N_GuiModel::GetPositionText() const { return Vec3ToString(m_position); }

void N_GuiModel::SetRotationText(const std::string& text) { m_rotation = StringToQuaternion(GuiNumbers(text)); }

std::string N_GuiModel::GetRotationText() const {
  const N_Quaternion& q = m_rotation;
  return FloatToString(q.w) + " " + FloatToString(q.x) + " " + FloatToString(q.y) + " " + FloatToString(q.z);
}

void N_GuiModel::SetLightDirText(const std::string& text) {
  N_Vector3 direction = StringToVec3(GuiNumbers(text));
  SetColour(m_light.direction, direction.Normalize());
  m_light.changed = 1;
}

std::string N_GuiModel::GetLightDirText() const { return Vec3ToString(ColourOf(m_light.direction)); }

void N_GuiModel::SetLightColorText(const std::string& text) {
  SetColour(m_light.diffuse, StringToVec3(GuiNumbers(text)));
  m_light.changed = 1;
}

std::string N_GuiModel::GetLightColorText() const { return Vec3ToString(ColourOf(m_light.diffuse)); }

void N_GuiModel::Orientation(float angle, N_Matrix3& out) const {
  // About the axis (w, x, y) as given: c I + s [k]x + (1 - c) k k^T.
  const float kx = m_rotation.w, ky = m_rotation.x, kz = m_rotation.y;
  const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
  const float m[9] = {c + t * kx * kx,      t * kx * ky - s * kz, t * kx * kz + s * ky,
                      t * kx * ky + s * kz, c + t * ky * ky,      t * ky * kz - s * kx,
                      t * kx * kz - s * ky, t * ky * kz + s * kx, c + t * kz * kz};
  for (int i = 0; i < 9; ++i) out.m[i] = m[i];
}

void N_GuiModel::Render() {
  if (!IsVisible()) return;
  N_GuiPanel::Render();
  RenderFigure();
}

void N_GuiModel::RenderFigure() {
  // The rectangle clipped at the screen's left and top edges; wholly off them, no
  // figure (a viewport of no size).
  float x = GetScreenX(), y = GetScreenY(), w = GetWidth(), h = GetHeight();
  if (x < 0.0f) {
    w += x;
    x = 0.0f;
  }
  if (y < 0.0f) {
    h += y;
    y = 0.0f;
  }
  if (!(w > 0.0f && h > 0.0f)) return;
  N_GuiFigures* figures = g_guiServices.figures;
  N_Camera* worldCamera = g_guiServices.camera;
  N_Render* render = g_render;
  if (!figures || !worldCamera || !render) return;
  const N_FigureAthlete* athlete = m_sex == 0 ? figures->GetMale(m_athlete) : figures->GetFemale(m_athlete);
  if (!athlete) return;
  const std::int32_t instance = athlete->Figure;
  if (instance < 0) return;

  const float vw = static_cast<float>(g_varMng ? g_varMng->GetInt("v_width") : 0);
  const float vh = static_cast<float>(g_varMng ? g_varMng->GetInt("v_height") : 0);
  const float dt = g_timer ? static_cast<float>(g_timer->GetFrameTime()) : 0.0f;
  const float time = g_timer ? static_cast<float>(g_timer->GetTime()) : 0.0f;
  N_Matrix3 orientation;
  Orientation(time * m_rotationSpeed + m_rotation.w, orientation);

  m_camera.SetProjection(m_fov, w * vw / kScreenWidth, h * vh / kScreenHeight, x * vw / kScreenWidth,
                         y * vh / kScreenHeight);
  const N_Vector3 eye{0.0f, 0.0f, 0.0f};
  const N_Vector3 target = m_position + N_Vector3{0.0f, 0.0f, kLookHeight};
  m_camera.LookAt(&eye, &target);

  if (N_TextBatch* batch = g_guiServices.textBatch) batch->Flush();
  render->SetLight(0, &m_light);
  render->SetupCamera(&m_camera, 1);
  figures->SetNextAction(instance, m_animation, kFramesPerSecond, 0.0f);
  figures->RenderFigure(dt, instance, m_position, orientation, m_dressNumber, *athlete, true, true, true);
  render->SetupCamera(worldCamera, 0);
  if (N_GuiPage* page = GetPage()) {
    render->SetWorldMatrix(page->GetMatrix());
  } else {
    render->SetWorldMatrix(N_Matrix4());
  }
}

namespace {

using M = N_GuiModel;
using T = N_GuiAttributeType;

const N_GuiAttributeRow kModelRows[] = {
    {"athlet", "Athlet id to render.", T::Integer, IntegerAccessor<M, &M::GetAthlete, &M::SetAthlete>()},
    {"sex", "Athlet sex.", T::Integer, IntegerAccessor<M, &M::GetSex, &M::SetSex>()},
    {"anim", "Animation id of the athlet.", T::Integer, IntegerAccessor<M, &M::GetAnimation, &M::SetAnimation>()},
    {"dressnum", "The number that have to appear on the dress of the athlet.", T::Integer,
     IntegerAccessor<M, &M::GetDressNumber, &M::SetDressNumber>()},
    {"fov", "Camera fov.", T::Number, NumberAccessor<M, &M::GetFov, &M::SetFov>()},
    {"position", "Sets the position of athlet model.", T::Text,
     TextAccessor<M, &M::GetPositionText, &M::SetPositionText>()},
    {"rotation", "Sets the rotation of athlet model.", T::Text,
     TextAccessor<M, &M::GetRotationText, &M::SetRotationText>()},
    {"rotspeed", "Sets the speed of rotation of athlet model.", T::Number,
     NumberAccessor<M, &M::GetRotationSpeed, &M::SetRotationSpeed>()},
    {"lightdir", "Sets the direction of light.", T::Text,
     TextAccessor<M, &M::GetLightDirText, &M::SetLightDirText>()},
    {"lightcolor", "Sets the color of light.", T::Text,
     TextAccessor<M, &M::GetLightColorText, &M::SetLightColorText>()},
};

}  // namespace

void N_GuiModel::BuildAttributes() {
  N_GuiPanel::BuildAttributes();
  AppendAttributes(kModelRows);
}
