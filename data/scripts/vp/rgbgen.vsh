#version 120
// rgbgen wave: the colour is the wave's value (clamped to 0..1) on every channel;
// the vertex alpha stays.
//   c0-c3  world x view x projection, one row each
//   c4.x   the wave's value now
// Fog: GL's fog stage takes the eye depth from gl_FogFragCoord.
uniform vec4 c[96];

vec4 Project(vec3 p) {
  vec4 v = vec4(p, 1.0);
  return vec4(dot(c[0], v), dot(c[1], v), dot(c[2], v), dot(c[3], v));
}

void main() {
  gl_Position = Project(gl_Vertex.xyz);
  gl_FrontColor = vec4(vec3(clamp(c[4].x, 0.0, 1.0)), gl_Color.a);
  gl_FrontSecondaryColor = vec4(0.0);
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_TexCoord[1] = gl_MultiTexCoord1;
  gl_FogFragCoord = gl_Position.w;
}
