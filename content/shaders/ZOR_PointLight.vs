#version 450 core

// Placeholder until its pass is written: places the geometry and hands the pass its inputs.

layout(std140, row_major, binding = 0) uniform CameraVS {
    mat4 view;
    mat4 proj;
    mat4 invView;
    mat4 invProj;
    mat4 prevViewProj;
} uCamera;

layout(location = 0) in vec3 POSITION;
layout(location = 1) in vec4 WORLD_POSITION;
layout(location = 2) in vec4 COLOR;
layout(location = 3) in float RADIUS;
layout(location = 4) in float INTENSITY;

layout(location = 0) out vec4 vLightPosition;
layout(location = 1) out vec4 vColor;
layout(location = 2) out vec2 vRadiusIntensity;
layout(location = 3) out vec4 vClip;

void main()
{
    vec4 world = vec4(WORLD_POSITION.xyz + POSITION * RADIUS, 1.0);
    gl_Position = uCamera.proj * (uCamera.view * world);
    vLightPosition = WORLD_POSITION;
    vColor = COLOR;
    vRadiusIntensity = vec2(RADIUS, INTENSITY);
    vClip = gl_Position;
}
