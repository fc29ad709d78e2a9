#version 450 core

// Places geometry in the sun's view for the shadow map; hands on the clip w (view depth).

layout(std140, row_major, binding = 2) uniform ShadowVS {
    mat4 sunViewProj;
    float near;
    float far;
} uShadow;

layout(location = 0) in vec3 POSITION;
layout(location = 1) in vec4 WORLD_MATRIX0;
layout(location = 2) in vec4 WORLD_MATRIX1;
layout(location = 3) in vec4 WORLD_MATRIX2;
layout(location = 4) in vec4 WORLD_MATRIX3;
layout(location = 5) in vec4 NORMAL_MATRIX0;
layout(location = 6) in vec4 NORMAL_MATRIX1;
layout(location = 7) in vec4 NORMAL_MATRIX2;
layout(location = 8) in vec4 NORMAL_MATRIX3;
layout(location = 9) in float GLOW_STRENGTH;

layout(location = 0) out float vDepth;

void main()
{
    mat4 world = transpose(mat4(WORLD_MATRIX0, WORLD_MATRIX1, WORLD_MATRIX2, WORLD_MATRIX3));
    gl_Position = uShadow.sunViewProj * (world * vec4(POSITION, 1.0));
    vDepth = (gl_Position.w - uShadow.near) / (uShadow.far - uShadow.near);
}
