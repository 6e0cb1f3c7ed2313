#version 120
// deformvertexes autosprite and autosprite2: sprites that face the camera. All four
// vertices of a sprite hold its centre; the texture coordinates say which corner a
// vertex is, and the corner's offset comes from the constants:
//   c0-c3  world x view x projection, one row each
//   c4     corner (0, 0): top left      c5  corner (0, 1): bottom left
//   c6     corner (1, 0): top right     c7  corner (1, 1): bottom right
// Fog: GL's fog stage takes the eye depth from gl_FogFragCoord.
uniform vec4 c[96];

vec4 Project(vec3 p) {
  vec4 v = vec4(p, 1.0);
  return vec4(dot(c[0], v), dot(c[1], v), dot(c[2], v), dot(c[3], v));
}

void main() {
  vec2 uv = gl_MultiTexCoord0.xy;
  int corner = int(clamp(floor(uv.x + 0.5), 0.0, 1.0)) * 2 + int(clamp(floor(uv.y + 0.5), 0.0, 1.0));
  gl_Position = Project(gl_Vertex.xyz + c[4 + corner].xyz);
  gl_FrontColor = gl_Color;
  gl_FrontSecondaryColor = vec4(0.0);
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_TexCoord[1] = gl_MultiTexCoord1;
  gl_FogFragCoord = gl_Position.w;
}
