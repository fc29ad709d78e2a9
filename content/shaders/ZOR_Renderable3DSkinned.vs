#version 450 core

// Places a skinned model: the object's world matrix times the weighted bone matrices.

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

layout(std140, row_major, binding = 4) uniform BonesVS {
    mat4 bones[80];
} uBones;

layout(location = 0) in vec4 POSITION;
layout(location = 1) in vec3 NORMAL;
layout(location = 2) in vec3 TANGENT;
layout(location = 3) in vec3 BITANGENT;
layout(location = 4) in vec2 UV;
layout(location = 5) in uvec4 BONE_IDS;
layout(location = 6) in vec4 WEIGHTS;

layout(location = 0) out vec3 vNormal;
layout(location = 1) out vec3 vTangent;
layout(location = 2) out vec3 vBitangent;
layout(location = 3) out vec2 vUV;
layout(location = 4) out float vGlow;
layout(location = 5) out float vDepth;

// Bone ids past the bone block are clamped: a bad vertex must not read outside it.
mat4 Skin(uvec4 ids, vec4 weights)
{
    uvec4 i = min(ids, uvec4(79u));
    return uBones.bones[i.x] * weights.x + uBones.bones[i.y] * weights.y + uBones.bones[i.z] * weights.z +
           uBones.bones[i.w] * weights.w;
}

void main()
{
    mat4 skin = Skin(BONE_IDS, WEIGHTS);
    mat4 world = uObject.world * skin;
    mat3 normalMat = mat3(uObject.normalMat) * mat3(skin);
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
}
