#version 450 core

// Placeholder until its pass is written: places the geometry and hands the pass its inputs.

layout(std140, row_major, binding = 1) uniform ScreenVS {
    mat4 ortho;
    vec2 targetSize;
    float invDt;
    float k30;
} uScreen;

layout(std140, row_major, binding = 6) uniform TextVS {
    vec4 color;
    vec2 position;
} uText;

layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;

layout(location = 0) out vec2 vUV;

void main()
{
    gl_Position = uScreen.ortho * vec4(uText.position + POSITION, 0.0, 1.0);
    vUV = UV;
}
