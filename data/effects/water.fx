// The lake at the highest shader detail: the water picture twice, scrolling against
// itself, lit by the sun and blended over the lake bed.

float4x4 WorldViewProj : WORLDVIEWPROJECTION;
float4x4 World : WORLD;
float4x4 WorldView : WORLDVIEW;
float4 LightDir : LIGHTDIR = { 0.0, -1.0, 0.0, 0.0 };
float4 FogParams : FOGPARAMS = { 8.0, 8000.0, 0.000125, 0.0 };
float Time : TIME;

texture Water < string name = "textures\water\lake01"; >;

glsl WaterVertex {{
#version 120
uniform mat4 WorldViewProj;
uniform mat4 World;
uniform mat4 WorldView;
uniform vec4 LightDir;
uniform vec4 FogParams;
uniform float Time;
varying vec2 uvA;
varying vec2 uvB;
varying float sun;
varying float fog;

void main() {
  gl_Position = WorldViewProj * gl_Vertex;
  vec2 uv = gl_MultiTexCoord0.xy;
  uvA = uv + vec2(0.02, 0.01) * Time;
  uvB = uv * 1.7 - vec2(0.015, 0.025) * Time;
  vec3 normal = normalize((World * vec4(gl_Normal, 0.0)).xyz);
  sun = 0.6 + 0.4 * max(dot(normal, -LightDir.xyz), 0.0);
  fog = clamp((FogParams.y - length((WorldView * gl_Vertex).xyz)) * FogParams.z, 0.0, 1.0);
}
}}

glsl WaterFragment {{
#version 120
uniform sampler2D Water;
varying vec2 uvA;
varying vec2 uvB;
varying float sun;
varying float fog;

void main() {
  vec4 colour = 0.5 * (texture2D(Water, uvA) + texture2D(Water, uvB));
  colour.rgb *= sun;
  gl_FragColor = vec4(mix(gl_Fog.color.rgb, colour.rgb, fog), colour.a);
}
}}

technique TWater {
  pass P0 {
    CullMode = None;
    ZWriteEnable = False;
    AlphaBlendEnable = True;
    SrcBlend = SrcAlpha;
    DestBlend = InvSrcAlpha;
    AlphaTestEnable = False;
    VertexShader = WaterVertex;
    PixelShader = WaterFragment;
  }
}
