#version 450 core

// Placeholder until its pass is written: places the geometry and hands the pass its inputs.

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

void main()
{
    mat4 skin = uBones.bones[BONE_IDS.x] * WEIGHTS.x + uBones.bones[BONE_IDS.y] * WEIGHTS.y +
                uBones.bones[BONE_IDS.z] * WEIGHTS.z + uBones.bones[BONE_IDS.w] * WEIGHTS.w;
    gl_Position = uShadow.sunViewProj * (uObject.world * (skin * vec4(POSITION, 1.0)));
    vDepth = gl_Position.z / gl_Position.w;
}
