#version 450 core

// Places a model with the object block's world matrix; view-space normal frame to the G-buffer.

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

layout(std140, row_major, binding = 2) uniform ShadowVS {
    mat4 sunViewProj;
    float near;
    float far;
} uShadow;

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
layout(location = 6) out vec4 vSunPosition;

void main()
{
    mat4 world = uObject.world;
    mat3 normalMat = mat3(uObject.normalMat);
    float glow = uObject.glow;
    vec4 worldPosition = world * vec4(POSITION.xyz, 1.0);
    vec4 view = uCamera.view * worldPosition;
    gl_Position = uCamera.proj * view;
    mat3 toView = mat3(uCamera.view) * normalMat;
    vNormal = toView * NORMAL;
    vTangent = toView * TANGENT;
    vBitangent = toView * BITANGENT;
    vUV = UV;
    vGlow = glow;
    vDepth = -view.z;
    vSunPosition = uShadow.sunViewProj * worldPosition;
}
