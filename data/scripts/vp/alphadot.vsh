#version 120
// alphagen dot: the alpha follows how squarely the surface faces the camera, from the
// first value (seen edge-on) to the second (seen face-on); without values, 0 to 1.
//   c0-c3  world x view x projection, one row each
//   c4     camera forward direction (xyz), view-plane distance (w)
//   c5.x   first alphagen value
//   c6.x   second alphagen value
// Fog: GL's fog stage takes the eye depth from gl_FogFragCoord.
uniform vec4 c[96];

vec4 Project(vec3 p) {
  vec4 v = vec4(p, 1.0);
  return vec4(dot(c[0], v), dot(c[1], v), dot(c[2], v), dot(c[3], v));
}

void main() {
  gl_Position = Project(gl_Vertex.xyz);
  vec2 range = (c[5].x == 0.0 && c[6].x == 0.0) ? vec2(0.0, 1.0) : vec2(c[5].x, c[6].x);
  float facing = abs(dot(normalize(gl_Normal), c[4].xyz));
  gl_FrontColor = vec4(gl_Color.rgb, clamp(mix(range.x, range.y, facing), 0.0, 1.0));
  gl_FrontSecondaryColor = vec4(0.0);
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_TexCoord[1] = gl_MultiTexCoord1;
  gl_FogFragCoord = gl_Position.w;
}
