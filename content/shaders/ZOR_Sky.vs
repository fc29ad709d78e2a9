#version 450 core

// Places the sky sphere. Depth is off for the sky: z is pinned inside 0..w so a sphere past the
// far plane is not clipped away.

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
    vec4 clip = uCamera.proj * (uCamera.view * world);
    clip.z = clamp(clip.z, 0.0, clip.w) * 0.999;
    gl_Position = clip;
    vDirection = POSITION.xyz;
    vUV = UV;
}
