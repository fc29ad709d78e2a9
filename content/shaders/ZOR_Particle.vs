#version 450 core

// A view-aligned quad, turned and scaled, at the particle; hands on its clip position and view
// depth for the soft fade against the scene.

layout(std140, row_major, binding = 0) uniform CameraVS {
    mat4 view;
    mat4 proj;
    mat4 invView;
    mat4 invProj;
    mat4 prevViewProj;
} uCamera;

layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;
layout(location = 2) in vec3 PARTICLE_POSITION;
layout(location = 3) in float PARTICLE_SCALE;
layout(location = 4) in float PARTICLE_ROTATION;
layout(location = 5) in float PARTICLE_ALPHA;
layout(location = 6) in vec4 PARTICLE_COLOR;

layout(location = 0) out vec2 vUV;
layout(location = 1) out vec4 vColor;
layout(location = 2) out vec4 vClip;
layout(location = 3) out float vViewDepth;

void main()
{
    float c = cos(PARTICLE_ROTATION);
    float s = sin(PARTICLE_ROTATION);
    vec2 corner = mat2(c, s, -s, c) * POSITION * PARTICLE_SCALE;
    vec4 centre = uCamera.view * vec4(PARTICLE_POSITION, 1.0);
    vec4 view = centre + vec4(corner, 0.0, 0.0);
    gl_Position = uCamera.proj * view;
    vUV = UV;
    vColor = vec4(PARTICLE_COLOR.rgb, PARTICLE_COLOR.a * PARTICLE_ALPHA);
    vClip = gl_Position;
    vViewDepth = -view.z;
}
