#version 450 core

// Placeholder until its pass is written: places the geometry and hands the pass its inputs.

layout(std140, row_major, binding = 0) uniform CameraVS {
    mat4 view;
    mat4 proj;
    mat4 invView;
    mat4 invProj;
    mat4 prevViewProj;
} uCamera;

layout(std140, row_major, binding = 3) uniform ObjectVS {
    mat4 world;
    mat4 normalMat;
    float glow;
} uObject;

layout(location = 0) in vec4 POSITION;
layout(location = 1) in vec3 NORMAL;
layout(location = 2) in vec3 TANGENT;
layout(location = 3) in vec3 BITANGENT;
layout(location = 4) in vec2 UV;

layout(location = 0) out vec3 vNormal;
layout(location = 1) out vec3 vTangent;
layout(location = 2) out vec3 vBitangent;
layout(location = 3) out vec2 vUV;
layout(location = 4) out float vGlow;
layout(location = 5) out float vDepth;

void main()
{
    vec4 world = uObject.world * vec4(POSITION.xyz, 1.0);
    vec4 view = uCamera.view * world;
    gl_Position = uCamera.proj * view;
    mat3 n = mat3(uObject.normalMat);
    vNormal = n * NORMAL;
    vTangent = n * TANGENT;
    vBitangent = n * BITANGENT;
    vUV = UV;
    vGlow = uObject.glow;
    vDepth = -view.z;
}
