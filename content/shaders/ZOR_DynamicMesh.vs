#version 450 core

// A dynamic-mesh vertex, already in world space.

layout(std140, row_major, binding = 0) uniform CameraVS {
    mat4 view;
    mat4 proj;
    mat4 invView;
    mat4 invProj;
    mat4 prevViewProj;
} uCamera;

layout(location = 0) in vec3 WORLD_POSITION;
layout(location = 1) in vec2 UV;
layout(location = 2) in float ALPHA;

layout(location = 0) out vec2 vUV;
layout(location = 1) out float vAlpha;

void main()
{
    gl_Position = uCamera.proj * (uCamera.view * vec4(WORLD_POSITION, 1.0));
    vUV = UV;
    vAlpha = ALPHA;
}
