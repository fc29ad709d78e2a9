#version 450 core

// Places one model instance from its per-instance rows; view-space normal frame to the G-buffer.

layout(std140, row_major, binding = 0) uniform CameraVS {
    mat4 view;
    mat4 proj;
    mat4 invView;
    mat4 invProj;
    mat4 prevViewProj;
} uCamera;

layout(std140, row_major, binding = 2) uniform ShadowVS {
    mat4 sunViewProj;
    float near;
    float far;
} uShadow;

layout(location = 0) in vec4 POSITION;
layout(location = 1) in vec3 NORMAL;
layout(location = 2) in vec3 TANGENT;
layout(location = 3) in vec3 BITANGENT;
layout(location = 4) in vec2 UV;
layout(location = 5) in vec4 WORLD_MATRIX0;
layout(location = 6) in vec4 WORLD_MATRIX1;
layout(location = 7) in vec4 WORLD_MATRIX2;
layout(location = 8) in vec4 WORLD_MATRIX3;
layout(location = 9) in vec4 NORMAL_MATRIX0;
layout(location = 10) in vec4 NORMAL_MATRIX1;
layout(location = 11) in vec4 NORMAL_MATRIX2;
layout(location = 12) in vec4 NORMAL_MATRIX3;
layout(location = 13) in float GLOW_STRENGTH;

layout(location = 0) out vec3 vNormal;
layout(location = 1) out vec3 vTangent;
layout(location = 2) out vec3 vBitangent;
layout(location = 3) out vec2 vUV;
layout(location = 4) out float vGlow;
layout(location = 5) out float vDepth;
layout(location = 6) out vec4 vSunPosition;

void main()
{
    mat4 world = transpose(mat4(WORLD_MATRIX0, WORLD_MATRIX1, WORLD_MATRIX2, WORLD_MATRIX3));
    mat3 normalMat = mat3(transpose(mat4(NORMAL_MATRIX0, NORMAL_MATRIX1, NORMAL_MATRIX2, NORMAL_MATRIX3)));
    float glow = GLOW_STRENGTH;
    vec4 worldPosition = world * vec4(POSITION.xyz, 1.0);
    vec4 view = uCamera.view * worldPosition;
    gl_Position = uCamera.proj * view;
    mat3 toView = mat3(uCamera.view) * normalMat;
    vNormal = toView * NORMAL;
    vTangent = toView * TANGENT;
    vBitangent = toView * BITANGENT;
    vUV = UV;
    vGlow = glow;
    vDepth = -view.z;
    vSunPosition = uShadow.sunViewProj * worldPosition;
}
