#version 450 core

// Places a sprite: the corner quad scaled by its size at its position, uv inside its frame.

layout(std140, row_major, binding = 1) uniform ScreenVS {
    mat4 ortho;
    vec2 targetSize;
    float invDt;
    float k30;
} uScreen;

layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;
layout(location = 2) in vec2 INSTANCE_POSITION;
layout(location = 3) in vec2 INSTANCE_SIZE;
layout(location = 4) in vec4 INSTANCE_FRAME_DATA;
layout(location = 5) in float INSTANCE_ALPHA;

layout(location = 0) out vec2 vUV;
layout(location = 1) out float vAlpha;

void main()
{
    vec2 corner = POSITION * INSTANCE_SIZE + INSTANCE_POSITION;
    gl_Position = uScreen.ortho * vec4(corner, 0.0, 1.0);
    vUV = INSTANCE_FRAME_DATA.xy + UV * INSTANCE_FRAME_DATA.zw;
    vAlpha = INSTANCE_ALPHA;
}
