#version 450 core

// Places a glyph quad at the text's position; the text colour travels on to the pixel stage.

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
layout(location = 1) out vec4 vColor;

void main()
{
    gl_Position = uScreen.ortho * vec4(uText.position + POSITION, 0.0, 1.0);
    vUV = UV;
    vColor = uText.color;
}
