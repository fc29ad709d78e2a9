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

layout(location = 0) out vec3 vDirection;
layout(location = 1) out vec2 vUV;

void main()
{
    vec4 world = uObject.world * vec4(POSITION.xyz, 1.0);
    gl_Position = uCamera.proj * (uCamera.view * world);
    vDirection = POSITION.xyz;
    vUV = UV;
}
