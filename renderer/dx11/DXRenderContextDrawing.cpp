// DXRenderContext: binding, copying, mapping, clearing and drawing. Binds record what they are
// given, by handle; a draw resolves the handles to GPU objects as the tables hold them now.
#include "platform/gpu/Framebuffer.h"
#include "platform/gpu/Program.h"
#include "renderer/dx11/DXRenderContext.h"
#include "renderer/dx11/DXRenderContextImpl.h"

#include <algorithm>
#include <cstring>

namespace ZOR {

namespace gpu = platform::gpu;

namespace {

void WarnBadHandle(const char* operation, const Handle& handle)
{
    ZOR::Log("Warning: %s was given handle {%u, %u}, which names nothing it can use; it acts as a null handle.",
             operation, static_cast<unsigned>(handle.GetType()), *handle);
}

enum class Found { Null, Live, Pending, Bad };

// Looks a handle up in the table of its kind (the caller has checked the kind).
template <typename Record>
Found Find(SlotTable<Record>& table, const Handle& handle, Record*& record)
{
    record = nullptr;
    if (!handle)
        return Found::Null;
    Record* r = table.At(*handle);
    if (!r || r->free)
        return Found::Bad;
    record = r;
    return r->pending != 0 ? Found::Pending : Found::Live;
}

// Keeps a handle of the given kind that names a slot in use (live or pending); a null handle
// stays null; anything else warns and becomes null.
template <typename Record>
Handle Checked(const char* operation, SlotTable<Record>& table, ObjectType kind, const Handle& handle)
{
    if (!handle)
        return Handle();
    Record* record = nullptr;
    if (handle.GetType() != kind || Find(table, handle, record) == Found::Bad) {
        WarnBadHandle(operation, handle);
        return Handle();
    }
    return handle;
}

std::size_t StageIndex(ObjectType stage)
{
    switch (stage) {
    case ObjectType::VertexShader: return 0;
    case ObjectType::PixelShader: return 1;
    case ObjectType::GeometryShader: return 2;
    default: return 3;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Resolution of handles to GPU objects (mutex held)

namespace {

// The texture a shader may read through a handle: a live texture, render target or depth
// buffer; null for anything else.
const gpu::Texture2D* ReadableTexture(DXRenderContext::Impl& d, const Handle& handle)
{
    const gpu::Texture2D* texture = nullptr;
    switch (handle.GetType()) {
    case ObjectType::Texture: {
        TextureRecord* r = nullptr;
        if (Find(d.textures, handle, r) == Found::Live)
            texture = &r->texture;
        break;
    }
    case ObjectType::RenderTarget: {
        RenderTargetRecord* r = nullptr;
        if (Find(d.renderTargets, handle, r) == Found::Live)
            texture = &r->texture;
        break;
    }
    case ObjectType::DepthBuffer: {
        DepthBufferRecord* r = nullptr;
        if (Find(d.depthBuffers, handle, r) == Found::Live)
            texture = &r->texture;
        break;
    }
    default: break;
    }
    return texture && texture->IsValid() ? texture : nullptr;
}

const gpu::Buffer* LiveBuffer(SlotTable<BufferRecord>& table, const Handle& handle)
{
    BufferRecord* r = nullptr;
    if (Find(table, handle, r) != Found::Live || !r->buffer.IsValid())
        return nullptr;
    return &r->buffer;
}

} // namespace

bool DXRenderContext::ApplyTargetsLocked()
{
    Impl& d = *m_impl;
    d.targetDirty = false;
    d.texturesDirty = true;
    d.attachedTextures.clear();
    d.boundFramebuffer = nullptr;

    Impl::FramebufferKey key;
    key.count = d.target.count;
    std::array<const gpu::Texture2D*, gpu::MaxRenderTargets> colours{};
    bool any = false;
    for (std::uint32_t i = 0; i < d.target.count; ++i) {
        const Handle& handle = d.target.colours[i];
        if (handle.GetType() == ObjectType::BackBuffer && handle == m_backBuffer) {
            colours[i] = &d.swapChain.GetBackBuffer();
            key.colours[i] = d.backBufferGeneration;
        } else if (handle.GetType() == ObjectType::RenderTarget) {
            RenderTargetRecord* r = nullptr;
            if (Find(d.renderTargets, handle, r) == Found::Live && r->texture.IsValid()) {
                colours[i] = &r->texture;
                key.colours[i] = r->generation;
            }
        }
        if (colours[i] && colours[i]->IsValid()) {
            any = true;
            d.attachedTextures.push_back(colours[i]->GetName());
        } else {
            colours[i] = nullptr;
            key.colours[i] = 0;
        }
    }
    const gpu::Texture2D* depth = nullptr;
    if (d.target.depth) {
        DepthBufferRecord* r = nullptr;
        if (Find(d.depthBuffers, d.target.depth, r) == Found::Live && r->texture.IsValid()) {
            depth = &r->texture;
            key.depth = r->generation;
            d.attachedTextures.push_back(depth->GetName());
            any = true;
        }
    }
    if (!any) {
        d.context.SetRenderTarget(nullptr);
        return false;
    }
    auto found = d.framebuffers.find(key);
    if (found == d.framebuffers.end()) {
        gpu::Framebuffer framebuffer;
        std::string error;
        if (!framebuffer.Create(colours.data(), d.target.count, depth, error))
            ZOR::Log("Warning: These render targets cannot be drawn into together: %s", error.c_str());
        // A failed combination is kept too (empty), so that it is reported once.
        found = d.framebuffers.emplace(key, std::move(framebuffer)).first;
    }
    if (!found->second.IsValid()) {
        d.context.SetRenderTarget(nullptr);
        return false;
    }
    d.context.SetRenderTarget(&found->second);
    d.boundFramebuffer = &found->second;
    return true;
}

bool DXRenderContext::PrepareDrawLocked()
{
    Impl& d = *m_impl;
    if (!d.initialised)
        return false;
    if (d.targetDirty)
        ApplyTargetsLocked();
    if (!d.boundFramebuffer)
        return false;

    VertexShaderRecord* vertex = nullptr;
    if (d.boundVertexShader.GetType() != ObjectType::VertexShader
        || Find(d.vertexShaders, d.boundVertexShader, vertex) != Found::Live || !vertex->shader.IsValid())
        return false;

    if (d.programDirty) {
        d.programDirty = false;
        d.currentProgram = nullptr;
        ShaderRecord* pixel = nullptr;
        ShaderRecord* geometry = nullptr;
        // Without a pixel stage nothing defines the colours written: such draws are skipped.
        if (Find(d.pixelShaders, d.boundPixelShader, pixel) != Found::Live || !pixel->shader.IsValid())
            return false;
        const Found geometryFound = Find(d.geometryShaders, d.boundGeometryShader, geometry);
        if (geometryFound == Found::Pending)
            return false;
        if (geometryFound != Found::Live || !geometry->shader.IsValid())
            geometry = nullptr;
        const Impl::ProgramKey key{vertex->generation, geometry ? geometry->generation : 0, pixel->generation};
        auto found = d.programs.find(key);
        if (found == d.programs.end()) {
            Impl::LinkedProgram linked;
            const gpu::Shader* stages[] = {&vertex->shader, geometry ? &geometry->shader : nullptr, &pixel->shader};
            std::string log;
            if (!linked.program.Link(stages, 3, log)) {
                // Once per combination: the failed entry stays cached.
                ZOR::Log("Warning: The bound shaders cannot be linked together; their draws are skipped.");
                ZOR::Log("%s", log.c_str());
                linked.failed = true;
            } else {
                for (const gpu::Program::SamplerUniform& sampler : linked.program.GetSamplers()) {
                    const bool known = std::any_of(linked.units.begin(), linked.units.end(),
                                                   [&](const auto& unit) { return unit.first == sampler.unit; });
                    if (!known)
                        linked.units.emplace_back(sampler.unit, SamplerStateForName(sampler.name));
                }
            }
            found = d.programs.emplace(key, std::move(linked)).first;
        }
        d.currentProgram = &found->second;
        d.texturesDirty = true;
    }
    if (!d.currentProgram || d.currentProgram->failed)
        return false;
    if (d.usedProgram != d.currentProgram->program.GetName()) {
        d.context.SetProgram(&d.currentProgram->program);
        d.usedProgram = d.currentProgram->program.GetName();
    }

    if (d.inputsDirty) {
        d.inputsDirty = false;
        // Generations name buffers for good (GL names are reused); this one stands for zeros.
        constexpr std::uint64_t Zeros = ~std::uint64_t{0};
        for (std::uint32_t slot = 0; slot < 2; ++slot) {
            // An input without a buffer reads zeros, as it did on the original API; the GPU
            // would otherwise fetch from nowhere.
            BufferRecord* record = nullptr;
            const bool live = Find(d.vertexBuffers, d.boundVertexBuffers[slot], record) == Found::Live
                              && record->buffer.IsValid() && !record->buffer.IsMapped();
            const std::uint64_t generation = live ? record->generation : Zeros;
            const std::uint32_t stride = live ? d.boundStrides[slot] : 0;
            if (vertex->boundGenerations[slot] != generation || vertex->boundStrides[slot] != stride) {
                vertex->layout.SetVertexBuffer(slot, live ? &record->buffer : &d.nullVertices, stride);
                vertex->boundGenerations[slot] = generation;
                vertex->boundStrides[slot] = stride;
            }
        }
        BufferRecord* indices = nullptr;
        const bool liveIndices = Find(d.indexBuffers, d.boundIndexBuffer, indices) == Found::Live;
        const std::uint64_t indexGeneration = liveIndices ? indices->generation : Zeros;
        if (vertex->boundIndexGeneration != indexGeneration) {
            vertex->layout.SetIndexBuffer(liveIndices ? &indices->buffer : nullptr);
            vertex->boundIndexGeneration = indexGeneration;
        }
        if (d.usedLayout != vertex->generation) {
            d.context.SetVertexArray(&vertex->layout);
            d.usedLayout = vertex->generation;
        }
    }

    if (d.texturesDirty) {
        d.texturesDirty = false;
        for (const auto& [unit, state] : d.currentProgram->units) {
            const Handle handle = unit < Impl::TextureSlots ? d.boundTextures[unit] : Handle();
            const gpu::Texture2D* texture = ReadableTexture(d, handle);
            // A texture that is also being drawn into reads as the null texture.
            if (!texture
                || std::find(d.attachedTextures.begin(), d.attachedTextures.end(), texture->GetName())
                       != d.attachedTextures.end())
                texture = &d.nullTexture;
            d.context.SetTexture(unit, texture);
            d.context.SetSampler(unit, &d.samplers[state < Impl::SamplerCount ? state : Impl::BilinearClamp]);
        }
    }

    if (d.uniformsDirty) {
        d.uniformsDirty = false;
        for (std::uint32_t stage = 0; stage < 3; ++stage) {
            for (std::uint32_t slot = 0; slot < Impl::ConstantBufferSlots; ++slot) {
                const std::uint32_t binding = stage * Impl::ConstantBufferSlots + slot;
                if (binding < d.limits.uniformBufferBindings)
                    d.context.SetUniformBuffer(binding,
                                               LiveBuffer(d.constantBuffers, d.boundConstantBuffers[stage][slot]));
            }
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Binding

bool DXRenderContext::BindTexture(std::uint32_t slot, const Handle& handle)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    Handle kept;
    if (handle) {
        const ObjectType kind = handle.GetType();
        bool ok = false;
        if (kind == ObjectType::Texture) {
            TextureRecord* r = nullptr;
            ok = Find(d.textures, handle, r) != Found::Bad;
        } else if (kind == ObjectType::RenderTarget) {
            RenderTargetRecord* r = nullptr;
            ok = Find(d.renderTargets, handle, r) != Found::Bad;
        } else if (kind == ObjectType::DepthBuffer) {
            DepthBufferRecord* r = nullptr;
            ok = Find(d.depthBuffers, handle, r) != Found::Bad;
        }
        if (ok)
            kept = handle;
        else
            WarnBadHandle("BindTexture", handle);
    }
    if (slot < Impl::TextureSlots) {
        d.boundTextures[slot] = kept;
        d.texturesDirty = true;
    }
    return true;
}

bool DXRenderContext::BindTextures(std::uint32_t count, const Handle* handles)
{
    for (std::uint32_t i = 0; i < count; ++i)
        BindTexture(i, handles ? handles[i] : Handle::Null());
    return true;
}

bool DXRenderContext::BindRenderTarget(const Handle& handle)
{
    return BindRenderTargets(1, &handle);
}

bool DXRenderContext::BindRenderTargets(std::uint32_t count, const Handle* handles)
{
    Impl& d = *m_impl;
    if (!d.initialised)
        return true;
    std::lock_guard lock(d.mutex);
    // One null handle unbinds everything, depth included, and leaves the depth state alone.
    if (count == 1 && handles && !handles[0]) {
        d.target = Impl::TargetRequest{};
        ApplyTargetsLocked();
        return true;
    }
    d.context.SetDepthStencilState(d.DepthStencilFor(d.depthTesting, d.depthWriting), 1);
    if (count > gpu::MaxRenderTargets) {
        ZOR::Log("Warning: Only the first %u of %u render targets are bound.", gpu::MaxRenderTargets, count);
        count = gpu::MaxRenderTargets;
    }
    Impl::TargetRequest request;
    request.count = count;
    for (std::uint32_t i = 0; i < count; ++i) {
        const Handle handle = handles ? handles[i] : Handle();
        if (!handle)
            continue;
        if (handle.GetType() == ObjectType::BackBuffer && handle == m_backBuffer) {
            request.colours[i] = handle;
            continue;
        }
        RenderTargetRecord* r = nullptr;
        if (handle.GetType() == ObjectType::RenderTarget && Find(d.renderTargets, handle, r) != Found::Bad)
            request.colours[i] = handle;
        else
            WarnBadHandle(count == 1 ? "BindRenderTarget" : "BindRenderTargets", handle);
    }
    if (d.depthTesting || d.depthWriting)
        request.depth = d.chosenDepthBuffer;
    d.target = request;
    ApplyTargetsLocked();
    return true;
}

bool DXRenderContext::BindDepthBuffer(const Handle& handle)
{
    Impl& d = *m_impl;
    if (!handle)
        return false;
    std::lock_guard lock(d.mutex);
    DepthBufferRecord* r = nullptr;
    if (handle.GetType() != ObjectType::DepthBuffer || Find(d.depthBuffers, handle, r) == Found::Bad) {
        WarnBadHandle("BindDepthBuffer", handle);
        return false;
    }
    d.chosenDepthBuffer = handle;
    return true;
}

bool DXRenderContext::BindVertexShader(const Handle& handle)
{
    Impl& d = *m_impl;
    if (handle == d.lastVertexShader)
        return true;
    d.lastVertexShader = handle;
    std::lock_guard lock(d.mutex);
    d.boundVertexShader = Checked("BindVertexShader", d.vertexShaders, ObjectType::VertexShader, handle);
    d.programDirty = d.inputsDirty = true;
    return true;
}

bool DXRenderContext::BindPixelShader(const Handle& handle)
{
    Impl& d = *m_impl;
    if (handle == d.lastPixelShader)
        return true;
    d.lastPixelShader = handle;
    std::lock_guard lock(d.mutex);
    d.boundPixelShader = Checked("BindPixelShader", d.pixelShaders, ObjectType::PixelShader, handle);
    d.programDirty = true;
    return true;
}

bool DXRenderContext::BindGeometryShader(const Handle& handle)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    d.boundGeometryShader = Checked("BindGeometryShader", d.geometryShaders, ObjectType::GeometryShader, handle);
    d.programDirty = true;
    return true;
}

bool DXRenderContext::BindComputeShader(const Handle&)
{
    // No compute shader can be made on this back end: there is nothing to bind.
    return true;
}

bool DXRenderContext::BindVertexBuffer(const Handle& handle, std::uint32_t stride)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    d.boundVertexBuffers[0] = Checked("BindVertexBuffer", d.vertexBuffers, ObjectType::VertexBuffer, handle);
    d.boundStrides[0] = stride;
    d.inputsDirty = true;
    return true;
}

bool DXRenderContext::BindVertexBuffers(const Handle& first, std::uint32_t firstStride, const Handle& second,
                                        std::uint32_t secondStride)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    d.boundVertexBuffers[0] = Checked("BindVertexBuffers", d.vertexBuffers, ObjectType::VertexBuffer, first);
    d.boundVertexBuffers[1] = Checked("BindVertexBuffers", d.vertexBuffers, ObjectType::VertexBuffer, second);
    d.boundStrides[0] = firstStride;
    d.boundStrides[1] = secondStride;
    d.inputsDirty = true;
    return true;
}

bool DXRenderContext::BindIndexBuffer(const Handle& handle)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    d.boundIndexBuffer = Checked("BindIndexBuffer", d.indexBuffers, ObjectType::IndexBuffer, handle);
    d.inputsDirty = true;
    return true;
}

bool DXRenderContext::BindConstantBuffer(std::uint32_t slot, const Handle& handle, ObjectType stage)
{
    Impl& d = *m_impl;
    const std::size_t stageIndex = StageIndex(stage);
    if (stageIndex > 2)
        return true;
    std::lock_guard lock(d.mutex);
    const Handle kept = Checked("BindConstantBuffer", d.constantBuffers, ObjectType::ConstantBuffer, handle);
    if (slot < Impl::ConstantBufferSlots) {
        d.boundConstantBuffers[stageIndex][slot] = kept;
        d.uniformsDirty = true;
    }
    return true;
}

bool DXRenderContext::BindConstantBuffers(std::uint32_t count, const Handle* handles, ObjectType stage)
{
    for (std::uint32_t i = 0; i < count; ++i)
        BindConstantBuffer(i, handles ? handles[i] : Handle::Null(), stage);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Writing, copying and mapping

namespace {

// CopyData into a texture, under the mutex.
void CopyIntoTexture(DXRenderContext::Impl& d, const Handle& handle, const void* data, std::uint32_t bytes)
{
    TextureRecord* r = nullptr;
    const Found found = Find(d.textures, handle, r);
    if (found != Found::Live) {
        WarnBadHandle("CopyData", handle);
        return;
    }
    if (r->fromFile || !r->texture.IsValid()) {
        ZOR::Log("Warning: Failed to map data to texture.");
        return;
    }
    if (!data)
        return;
    const std::uint64_t full = ImageBytes(r->size, GetFormatInfo(r->format).textureBytesPerPixel);
    std::string error;
    if (bytes >= full) {
        if (bytes > full)
            ZOR::Log("Warning: Copied %llu of %u bytes: that is all the texture holds.",
                     static_cast<unsigned long long>(full), bytes);
        r->texture.Write(data, error);
    } else {
        // The rest of a discarded mapping is undefined; here it reads as zeros.
        std::vector<std::uint8_t> staging(static_cast<std::size_t>(full), 0);
        std::memcpy(staging.data(), data, bytes);
        r->texture.Write(staging.data(), error);
    }
}

} // namespace

void DXRenderContext::CopyData(const Handle& handle, const void* data, std::uint32_t bytes)
{
    Impl& d = *m_impl;
    if (!d.initialised || !handle)
        return;
    std::lock_guard lock(d.mutex);
    if (handle.GetType() == ObjectType::Texture) {
        CopyIntoTexture(d, handle, data, bytes);
        return;
    }
    SlotTable<BufferRecord>* table = d.BufferTable(handle.GetType());
    if (!table) {
        // The other kinds take no data this way; only a kind past the last is a bad handle.
        if (!Impl::KnownKind(handle.GetType()))
            WarnBadHandle("CopyData", handle);
        return;
    }
    BufferRecord* r = nullptr;
    if (Find(*table, handle, r) != Found::Live || !r->buffer.IsValid()) {
        WarnBadHandle("CopyData", handle);
        return;
    }
    if (r->usage == BufferUsage::Static) {
        ZOR::Log("Warning: A static buffer cannot be written to!");
        return;
    }
    if (!data)
        return;
    const std::uint32_t capacity = r->buffer.GetSize();
    if (bytes > capacity)
        ZOR::Log("Warning: Copied %u of %u bytes: that is all the buffer holds.", capacity, bytes);
    std::string error;
    if (!r->buffer.Write(data, std::min(bytes, capacity), error))
        ZOR::Log("Warning: The buffer could not be written: %s", error.c_str());
}

void DXRenderContext::CopyResource(const Handle& destination, const Handle& source)
{
    Impl& d = *m_impl;
    if (destination.GetType() != source.GetType()) {
        ZOR::Log("When copying resources, the objects must be of the same type!");
        return;
    }
    if (!d.initialised)
        return;
    std::lock_guard lock(d.mutex);
    auto textureOf = [&](const Handle& handle) -> gpu::Texture2D* {
        switch (handle.GetType()) {
        case ObjectType::BackBuffer:
            return handle == m_backBuffer ? &d.swapChain.GetBackBuffer() : nullptr;
        case ObjectType::Texture: {
            TextureRecord* r = nullptr;
            return Find(d.textures, handle, r) == Found::Live ? &r->texture : nullptr;
        }
        case ObjectType::RenderTarget: {
            RenderTargetRecord* r = nullptr;
            return Find(d.renderTargets, handle, r) == Found::Live ? &r->texture : nullptr;
        }
        case ObjectType::DepthBuffer: {
            DepthBufferRecord* r = nullptr;
            return Find(d.depthBuffers, handle, r) == Found::Live ? &r->texture : nullptr;
        }
        default: return nullptr;
        }
    };
    switch (destination.GetType()) {
    case ObjectType::BackBuffer:
    case ObjectType::Texture:
    case ObjectType::RenderTarget:
    case ObjectType::DepthBuffer: break;
    case ObjectType::VertexShader:
    case ObjectType::PixelShader:
    case ObjectType::GeometryShader:
    case ObjectType::ComputeShader:
    case ObjectType::VertexBuffer:
    case ObjectType::IndexBuffer:
    case ObjectType::ConstantBuffer: return; // only the four kinds above are copied
    default: WarnBadHandle("CopyResource", destination); return;
    }
    gpu::Texture2D* to = textureOf(destination);
    gpu::Texture2D* from = textureOf(source);
    if (!to || !from || !to->IsValid() || !from->IsValid()) {
        WarnBadHandle("CopyResource", to ? source : destination);
        return;
    }
    if (to == from)
        return;
    std::string error;
    if (!to->CopyFrom(*from, error))
        ZOR::Log("Warning: Resources of different sizes or formats cannot be copied (%s).", error.c_str());
}

void* DXRenderContext::Map(const Handle& handle)
{
    Impl& d = *m_impl;
    if (!d.initialised || !handle)
        return nullptr;
    std::lock_guard lock(d.mutex);
    SlotTable<BufferRecord>* table = d.BufferTable(handle.GetType());
    if (!table) {
        // Only buffers map; only a kind past the last is a bad handle.
        if (!Impl::KnownKind(handle.GetType()))
            WarnBadHandle("Map", handle);
        return nullptr;
    }
    BufferRecord* r = nullptr;
    if (Find(*table, handle, r) != Found::Live) {
        WarnBadHandle("Map", handle);
        return nullptr;
    }
    // A mapped buffer is not drawn from; the next draw looks again.
    d.inputsDirty = true;
    return r->buffer.Map();
}

void DXRenderContext::Unmap(const Handle& handle)
{
    Impl& d = *m_impl;
    if (!d.initialised || !handle)
        return;
    std::lock_guard lock(d.mutex);
    SlotTable<BufferRecord>* table = d.BufferTable(handle.GetType());
    if (!table)
        return;
    BufferRecord* r = nullptr;
    if (Find(*table, handle, r) == Found::Live) {
        r->buffer.Unmap();
        d.inputsDirty = true;
    }
}

// ---------------------------------------------------------------------------------------------
// Clearing

void DXRenderContext::ClearBackBuffer()
{
    Impl& d = *m_impl;
    if (!d.initialised)
        return;
    std::string error;
    d.swapChain.GetBackBuffer().Clear({m_clearColor.r, m_clearColor.g, m_clearColor.b, m_clearColor.a}, error);
}

void DXRenderContext::ClearRenderTarget(const Handle& handle, const Color& color)
{
    ClearRenderTarget(handle, color.r, color.g, color.b, color.a);
}

void DXRenderContext::ClearRenderTarget(const Handle& handle, float r, float g, float b, float a)
{
    Impl& d = *m_impl;
    if (!d.initialised || !handle)
        return;
    std::lock_guard lock(d.mutex);
    gpu::Texture2D* texture = nullptr;
    if (handle.GetType() == ObjectType::BackBuffer && handle == m_backBuffer) {
        texture = &d.swapChain.GetBackBuffer();
    } else if (handle.GetType() == ObjectType::RenderTarget) {
        RenderTargetRecord* record = nullptr;
        if (Find(d.renderTargets, handle, record) == Found::Live)
            texture = &record->texture;
    }
    if (!texture || !texture->IsValid()) {
        WarnBadHandle("ClearRenderTarget", handle);
        return;
    }
    std::string error;
    texture->Clear({r, g, b, a}, error);
}

void DXRenderContext::ClearDepthBuffer(const Handle& handle)
{
    Impl& d = *m_impl;
    if (!d.initialised || !handle)
        return;
    std::lock_guard lock(d.mutex);
    DepthBufferRecord* record = nullptr;
    if (handle.GetType() != ObjectType::DepthBuffer || Find(d.depthBuffers, handle, record) != Found::Live
        || !record->texture.IsValid()) {
        WarnBadHandle("ClearDepthBuffer", handle);
        return;
    }
    std::string error;
    record->texture.ClearDepthStencil(1.0f, 0, error);
}

// ---------------------------------------------------------------------------------------------
// Drawing

void DXRenderContext::Draw(std::uint32_t vertexCount, std::uint32_t startVertex)
{
    DrawInstanced(vertexCount, 1, startVertex, 0);
}

void DXRenderContext::DrawIndexed(std::uint32_t indexCount, std::uint32_t startIndex, std::uint32_t baseVertex)
{
    DrawIndexedInstanced(indexCount, 1, startIndex, baseVertex, 0);
}

void DXRenderContext::DrawInstanced(std::uint32_t verticesPerInstance, std::uint32_t instanceCount,
                                    std::uint32_t startVertex, std::uint32_t startInstance)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    if (!PrepareDrawLocked())
        return;
    d.context.Draw(verticesPerInstance, startVertex, instanceCount, startInstance);
}

void DXRenderContext::DrawIndexedInstanced(std::uint32_t indicesPerInstance, std::uint32_t instanceCount,
                                           std::uint32_t startIndex, std::uint32_t baseVertex,
                                           std::uint32_t startInstance)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    const gpu::Buffer* indices = LiveBuffer(d.indexBuffers, d.boundIndexBuffer);
    if (!PrepareDrawLocked() || !indices || indices->IsMapped())
        return;
    // The base vertex is signed on the GPU, as it was in the original API.
    d.context.DrawIndexed(indicesPerInstance, startIndex, static_cast<std::int32_t>(baseVertex), instanceCount,
                          startInstance);
}

std::uint64_t DXRenderContext::GetDrawCallCount()
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    return d.context.GetDrawCallCount();
}

void DXRenderContext::RunComputeShader(std::uint32_t, std::uint32_t, std::uint32_t)
{
    // No compute shader can be made on this back end.
}

// ---------------------------------------------------------------------------------------------
// Read-back for tests

bool DXRenderContext::ReadBack(const Handle& handle, ReadBackData& data)
{
    Impl& d = *m_impl;
    data = ReadBackData{};
    if (!d.initialised || !IsGLThread() || !handle)
        return false;
    std::lock_guard lock(d.mutex);
    const gpu::Texture2D* texture = nullptr;
    const gpu::Buffer* buffer = nullptr;
    switch (handle.GetType()) {
    case ObjectType::BackBuffer:
        if (handle == m_backBuffer)
            texture = &d.swapChain.GetBackBuffer();
        break;
    case ObjectType::Texture:
    case ObjectType::RenderTarget:
    case ObjectType::DepthBuffer: texture = ReadableTexture(d, handle); break;
    case ObjectType::VertexBuffer: buffer = LiveBuffer(d.vertexBuffers, handle); break;
    case ObjectType::IndexBuffer: buffer = LiveBuffer(d.indexBuffers, handle); break;
    case ObjectType::ConstantBuffer: buffer = LiveBuffer(d.constantBuffers, handle); break;
    default: break;
    }
    if (texture && texture->IsValid()) {
        data.size = Dimension(texture->GetWidth(), texture->GetHeight());
        data.format = texture->GetFormat();
        return texture->Read(data.bytes);
    }
    if (buffer) {
        data.size = Dimension(buffer->GetSize(), 1);
        return buffer->Read(data.bytes);
    }
    return false;
}

} // namespace ZOR
