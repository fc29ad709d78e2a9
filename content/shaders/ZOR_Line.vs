#version 450 core

// A debug-line vertex in world space.

layout(std140, row_major, binding = 0) uniform CameraVS {
    mat4 view;
    mat4 proj;
    mat4 invView;
    mat4 invProj;
    mat4 prevViewProj;
} uCamera;

layout(location = 0) in vec4 POSITION;
layout(location = 1) in vec4 COLOR;

layout(location = 0) out vec4 vColor;

void main()
{
    gl_Position = uCamera.proj * (uCamera.view * vec4(POSITION.xyz, 1.0));
    vColor = COLOR;
}
