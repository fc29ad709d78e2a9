#version 450 core

// Places a light volume: the sphere scaled a little past the radius, so it encloses it.

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

void main()
{
    vec4 world = vec4(POSITION * RADIUS * 1.1 + WORLD_POSITION.xyz, 1.0);
    gl_Position = uCamera.proj * (uCamera.view * world);
    vLightPosition = vec4((uCamera.view * vec4(WORLD_POSITION.xyz, 1.0)).xyz, 1.0);
    vColor = COLOR;
    vRadiusIntensity = vec2(RADIUS, INTENSITY);
}
