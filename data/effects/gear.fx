// The athletes' gear: dress, gun, skis, start number and sticks.
// "TTextureOnly" draws the material's first texture lit by the sun; "TGlowAndTexture"
// adds a pulsing glow over the gear, strongest at the outline, for the racer the race
// highlights.
// GearRamps holds two ramps across its 32 texels: the sun's shading (top row, v 0.25)
// and the glow by closeness to the outline (bottom row, v 0.75); lookups stay within
// the outer texel centres so that wrapping never mixes the two ends.

float4x4 WorldViewProj : WORLDVIEWPROJECTION;
float4x4 World : WORLD;
float4x4 WorldView : WORLDVIEW;
float4 LightDir : LIGHTDIR = { 0.0, -1.0, 0.0, 0.0 };
float4 FogParams : FOGPARAMS = { 8.0, 8000.0, 0.000125, 0.0 };
float Time : TIME;
float4 GlowColour = { 1.0, 0.75, 0.2, 1.0 };

texture DiffuseMap : TEXTURE0;
texture GearRamps < string name = "textures\gear\ramps"; string type = "2d"; >;

glsl GearVertex {{
#version 120
uniform mat4 WorldViewProj;
uniform mat4 World;
uniform mat4 WorldView;
uniform vec4 LightDir;
uniform vec4 FogParams;
varying vec2 uv;
varying float sun;
varying float rim;
varying float fog;

void main() {
  gl_Position = WorldViewProj * gl_Vertex;
  uv = gl_MultiTexCoord0.xy;
  vec3 normal = normalize((World * vec4(gl_Normal, 0.0)).xyz);
  sun = max(dot(normal, -LightDir.xyz), 0.0);
  vec3 viewNormal = normalize((WorldView * vec4(gl_Normal, 0.0)).xyz);
  vec3 viewPosition = (WorldView * gl_Vertex).xyz;
  rim = 1.0 - abs(dot(viewNormal, normalize(-viewPosition)));
  fog = clamp((FogParams.y - length(viewPosition)) * FogParams.z, 0.0, 1.0);
  gl_FrontColor = gl_Color;
}
}}

glsl TextureOnly {{
#version 120
uniform sampler2D DiffuseMap;
uniform sampler2D GearRamps;
varying vec2 uv;
varying float sun;
varying float fog;

vec3 Ramp(float t, float row) { return texture2D(GearRamps, vec2(clamp(t, 1.0 / 64.0, 63.0 / 64.0), row)).rgb; }

void main() {
  vec4 colour = texture2D(DiffuseMap, uv) * gl_Color;
  colour.rgb *= Ramp(sun, 0.25);
  gl_FragColor = vec4(mix(gl_Fog.color.rgb, colour.rgb, fog), colour.a);
}
}}

glsl GlowAndTexture {{
#version 120
uniform sampler2D DiffuseMap;
uniform sampler2D GearRamps;
uniform vec4 GlowColour;
uniform float Time;
varying vec2 uv;
varying float sun;
varying float rim;
varying float fog;

vec3 Ramp(float t, float row) { return texture2D(GearRamps, vec2(clamp(t, 1.0 / 64.0, 63.0 / 64.0), row)).rgb; }

void main() {
  vec4 colour = texture2D(DiffuseMap, uv) * gl_Color;
  colour.rgb *= Ramp(sun, 0.25);
  float pulse = 0.75 + 0.25 * sin(Time * 6.0);
  vec3 glow = Ramp(rim, 0.75) * GlowColour.rgb * pulse;
  colour.rgb = min(colour.rgb + glow, vec3(1.0));
  gl_FragColor = vec4(mix(gl_Fog.color.rgb, colour.rgb, fog), colour.a);
}
}}

technique TTextureOnly {
  pass P0 {
    CullMode = CCW;
    ZWriteEnable = True;
    ZFunc = LessEqual;
    AlphaBlendEnable = False;
    AlphaTestEnable = False;
    VertexShader = GearVertex;
    PixelShader = TextureOnly;
  }
}

technique TGlowAndTexture {
  pass P0 {
    CullMode = CCW;
    ZWriteEnable = True;
    ZFunc = LessEqual;
    AlphaBlendEnable = False;
    AlphaTestEnable = False;
    VertexShader = GearVertex;
    PixelShader = GlowAndTexture;
  }
}
