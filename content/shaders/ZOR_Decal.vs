#version 450 core

// The decal's box; the projector, the box and the alpha go to the pixel stage, which has no
// object block.

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
layout(location = 1) flat out mat4 vProjector;
layout(location = 5) flat out vec3 vBoxCentre;
layout(location = 6) flat out vec3 vBoxHalf;
layout(location = 7) flat out float vAlpha;

void main()
{
    gl_Position = uCamera.proj * (uCamera.view * (uObject.world * vec4(POSITION, 1.0)));
    vClip = gl_Position;
    vProjector = uObject.normalMat;
    vBoxCentre = uObject.world[3].xyz;
    vBoxHalf = 0.5 * abs(vec3(uObject.world[0][0], uObject.world[1][1], uObject.world[2][2]));
    vAlpha = uObject.glow;
}
