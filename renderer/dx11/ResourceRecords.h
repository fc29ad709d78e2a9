#pragma once
// The records of the back end's slot tables, one table per kind of handle. A record's objects
// are GPU objects of the platform layer; only the GL thread creates or destroys them.
#include "platform/gpu/Buffer.h"
#include "platform/gpu/Shader.h"
#include "platform/gpu/Texture2D.h"
#include "platform/gpu/VertexArray.h"
#include "renderer/dx11/RenderContext.h"
#include "renderer/dx11/ResourceRules.h"

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace ZOR {

// Shared by every record: the free byte, the upload waiting for the slot (0: none) and the
// generation of the objects it holds (changes whenever they are replaced, so that caches of
// programs and framebuffers can tell old from new).
struct SlotState {
    std::uint8_t free = 0;
    std::uint64_t pending = 0;
    std::uint64_t generation = 0;
};

struct TextureRecord : SlotState {
    platform::gpu::Texture2D texture;
    Dimension size;
    Format format = Format::R8G8B8A8_UNORM;
    bool fromFile = false;
};

struct RenderTargetRecord : SlotState {
    platform::gpu::Texture2D texture;
    Format format = Format::R8G8B8A8_UNORM;
    RenderTargetPolicy policy = RenderTargetPolicy::ScreenSize;
    float scale = 1.0f;
    Viewport viewport;
};

struct VertexShaderRecord : SlotState {
    platform::gpu::Shader shader;
    platform::gpu::VertexArray layout;
    // What the layout's bindings hold now, by buffer generation (0: none) and stride, so that
    // an unchanged binding is not set again.
    std::array<std::uint64_t, 2> boundGenerations{};
    std::array<std::uint32_t, 2> boundStrides{};
    std::uint64_t boundIndexGeneration = 0;
};

struct ShaderRecord : SlotState {
    platform::gpu::Shader shader;
};

struct BufferRecord : SlotState {
    platform::gpu::Buffer buffer;
    BufferUsage usage = BufferUsage::Default;
    std::uint32_t size = 0; // as requested
};

struct DepthBufferRecord : SlotState {
    platform::gpu::Texture2D texture;
    Handle attached;
    Dimension size;
};

// A growable table whose records never move: a reference to one stays valid while the table
// grows (a deque keeps its elements in place when appended to).
template <typename Record>
struct SlotTable {
    std::deque<Record> records;

    // The first free record from index 0, else a new one at the end.
    std::uint32_t FindFreeSlot()
    {
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].free)
                return static_cast<std::uint32_t>(i);
        }
        records.emplace_back();
        return static_cast<std::uint32_t>(records.size() - 1);
    }
    Record* At(std::uint32_t index) { return index < records.size() ? &records[index] : nullptr; }
    std::size_t Size() const { return records.size(); }
};

} // namespace ZOR
