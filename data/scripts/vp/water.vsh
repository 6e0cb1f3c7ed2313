#version 120
// deformvertexes water: ripples travelling across the surface; every vertex moves
// along its normal by a sine wave whose phase follows the travel direction.
//   c0-c3  world x view x projection, one row each
//   c4     base, amplitude, phase, frequency (the script's values 2 to 5)
//   c5.x   spread: 1 / the script's value 1
//   c6.x   time in seconds
//   c7.xy  travel direction (the script's values 6 and 7); (0, 0) runs along x + y
// Fog: GL's fog stage takes the eye depth from gl_FogFragCoord.
uniform vec4 c[96];

vec4 Project(vec3 p) {
  vec4 v = vec4(p, 1.0);
  return vec4(dot(c[0], v), dot(c[1], v), dot(c[2], v), dot(c[3], v));
}

void main() {
  vec3 p = gl_Vertex.xyz;
  vec2 direction = dot(c[7].xy, c[7].xy) > 0.0 ? c[7].xy : vec2(1.0, 1.0);
  float x = c[6].x * c[4].w + c[4].z + dot(p.xy, direction) * c[5].x;
  p += gl_Normal * (c[4].x + c[4].y * sin(6.2831855 * x));
  gl_Position = Project(p);
  gl_FrontColor = gl_Color;
  gl_FrontSecondaryColor = vec4(0.0);
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_TexCoord[1] = gl_MultiTexCoord1;
  gl_FogFragCoord = gl_Position.w;
}
