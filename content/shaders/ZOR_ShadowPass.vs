#version 450 core

// Places geometry in the sun's view for the shadow map; hands on the clip w (view depth).

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

layout(location = 0) in vec3 POSITION;

layout(location = 0) out float vDepth;

void main()
{
    mat4 world = uObject.world;
    gl_Position = uShadow.sunViewProj * (world * vec4(POSITION, 1.0));
    vDepth = (gl_Position.w - uShadow.near) / (uShadow.far - uShadow.near);
}
