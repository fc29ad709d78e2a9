#version 450 core

// One triangle that covers the target, made from the vertex number: no vertex buffer is bound.
// uv (0, 0) is the top-left corner and (1, 1) the bottom-right. The corners run counter-clockwise,
// the front-face winding, so back-face culling keeps the triangle.

layout(location = 0) out vec2 vUV;

void main()
{
    vec2 uv = vec2(gl_VertexID & 2, (gl_VertexID << 1) & 2);
    vUV = uv;
    gl_Position = vec4(uv.x * 2.0 - 1.0, 1.0 - uv.y * 2.0, 0.0, 1.0);
}
