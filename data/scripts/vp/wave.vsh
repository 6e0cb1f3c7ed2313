#version 120
// deformvertexes wave: every vertex moves along its normal by a sine wave whose phase
// runs with the position, so the surface ripples.
//   c0-c3  world x view x projection, one row each
//   c4     base, amplitude, phase, frequency
//   c5.x   spread: 1 / the script's spread value
//   c6.x   time in seconds
// Fog: GL's fog stage takes the eye depth from gl_FogFragCoord.
uniform vec4 c[96];

vec4 Project(vec3 p) {
  vec4 v = vec4(p, 1.0);
  return vec4(dot(c[0], v), dot(c[1], v), dot(c[2], v), dot(c[3], v));
}

void main() {
  vec3 p = gl_Vertex.xyz;
  float x = c[6].x * c[4].w + c[4].z + (p.x + p.y + p.z) * c[5].x;
  p += gl_Normal * (c[4].x + c[4].y * sin(6.2831855 * x));
  gl_Position = Project(p);
  gl_FrontColor = gl_Color;
  gl_FrontSecondaryColor = vec4(0.0);
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_TexCoord[1] = gl_MultiTexCoord1;
  gl_FogFragCoord = gl_Position.w;
}
