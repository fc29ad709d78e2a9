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

layout(location = 0) in vec3 POSITION;

layout(location = 0) out vec4 vClip;

void main()
{
    gl_Position = uCamera.proj * (uCamera.view * (uObject.world * vec4(POSITION, 1.0)));
    vClip = gl_Position;
}
