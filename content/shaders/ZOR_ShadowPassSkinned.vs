#version 450 core

// Places geometry in the sun's view for the shadow map; hands on the clip w (view depth).

layout(std140, row_major, binding = 3) uniform ObjectVS {
    mat4 world;
    mat4 normalMat;
    float glow;
} uObject;

layout(std140, row_major, binding = 4) uniform BonesVS {
    mat4 bones[80];
} uBones;

layout(std140, row_major, binding = 2) uniform ShadowVS {
    mat4 sunViewProj;
    float near;
    float far;
} uShadow;

layout(location = 0) in vec3 POSITION;
layout(location = 1) in uvec4 BONE_IDS;
layout(location = 2) in vec4 WEIGHTS;

layout(location = 0) out float vDepth;

// Bone ids past the bone block are clamped: a bad vertex must not read outside it.
mat4 Skin(uvec4 ids, vec4 weights)
{
    uvec4 i = min(ids, uvec4(79u));
    return uBones.bones[i.x] * weights.x + uBones.bones[i.y] * weights.y + uBones.bones[i.z] * weights.z +
           uBones.bones[i.w] * weights.w;
}

void main()
{
    mat4 world = uObject.world * Skin(BONE_IDS, WEIGHTS);
    gl_Position = uShadow.sunViewProj * (world * vec4(POSITION, 1.0));
    vDepth = (gl_Position.w - uShadow.near) / (uShadow.far - uShadow.near);
}
