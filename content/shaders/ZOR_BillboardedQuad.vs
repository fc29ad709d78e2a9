#version 450 core

// A quad facing the camera: its corners spread in view space around the centre.

layout(std140, row_major, binding = 0) uniform CameraVS {
    mat4 view;
    mat4 proj;
    mat4 invView;
    mat4 invProj;
    mat4 prevViewProj;
} uCamera;

layout(std140, row_major, binding = 5) uniform BillboardVS {
    vec4 position;
    vec2 scale;
} uBillboard;

layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;

layout(location = 0) out vec2 vUV;

void main()
{
    vec4 centre = uCamera.view * vec4(uBillboard.position.xyz, 1.0);
    gl_Position = uCamera.proj * (centre + vec4(POSITION * uBillboard.scale, 0.0, 0.0));
    vUV = UV;
}
