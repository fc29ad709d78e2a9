// DXRenderContext: the slot tables, creation of every kind of resource, the upload queue that
// carries creations made on other threads to the GL thread, and release.
#include "platform/ImageDecoder.h"
#include "platform/gpu/Framebuffer.h"
#include "platform/gpu/Program.h"
#include "renderer/dx11/DXRenderContext.h"
#include "renderer/dx11/DXRenderContextImpl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace ZOR {

using Exception = RenderContext::RenderContextException;
namespace gpu = platform::gpu;

namespace {

// Texture and shader files larger than these are refused before they are read.
constexpr std::uint64_t MaxTextureFileBytes = 512ull << 20;
constexpr std::uint64_t MaxShaderFileBytes = 4ull << 20;

// One failure: the error box (on the main thread) and one "Error: " line. Never called with the
// mutex held: leaving full screen re-creates targets, which takes it.
void Fail(const std::string& message)
{
    const Exception error("%s", message.c_str());
    ZOR::Log("Error: %s", error.what());
}

std::string Quoted(const char* format, const std::string& path)
{
    char buffer[2048];
    std::snprintf(buffer, sizeof(buffer), format, path.c_str());
    return buffer;
}

std::string WithSize(const char* format, std::uint32_t bytes)
{
    char buffer[256];
    std::snprintf(buffer, sizeof(buffer), format, static_cast<int>(bytes));
    return buffer;
}

enum class ReadResult { Ok, Missing, TooLarge };

ReadResult ReadFile(const std::string& path, std::uint64_t maxBytes, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return ReadResult::Missing;
    const std::streamoff length = in.tellg();
    if (length < 0)
        return ReadResult::Missing;
    if (static_cast<std::uint64_t>(length) > maxBytes)
        return ReadResult::TooLarge;
    bytes.resize(static_cast<std::size_t>(length));
    in.seekg(0);
    if (length > 0 && !in.read(bytes.data(), length))
        return ReadResult::Missing;
    return ReadResult::Ok;
}

// The objects of a record change hands whole: Adopt swaps them in (the old ones come back in
// `built`, to be destroyed once the mutex is released) and carries the description over.
void Adopt(TextureRecord& slot, TextureRecord& built)
{
    std::swap(slot.texture, built.texture);
    slot.size = built.size;
    slot.format = built.format;
    slot.fromFile = built.fromFile;
}

void Adopt(RenderTargetRecord& slot, RenderTargetRecord& built)
{
    std::swap(slot.texture, built.texture);
    slot.format = built.format;
    slot.policy = built.policy;
    slot.scale = built.scale;
    // Re-creation keeps the matrix the render system gave the target's viewport.
    slot.viewport.Set(built.viewport.x, built.viewport.y, built.viewport.size, built.viewport.minDepth,
                      built.viewport.maxDepth);
}

void Adopt(VertexShaderRecord& slot, VertexShaderRecord& built)
{
    std::swap(slot.shader, built.shader);
    std::swap(slot.layout, built.layout);
    std::swap(slot.boundGenerations, built.boundGenerations);
    std::swap(slot.boundStrides, built.boundStrides);
    std::swap(slot.boundIndexGeneration, built.boundIndexGeneration);
}

void Adopt(ShaderRecord& slot, ShaderRecord& built)
{
    std::swap(slot.shader, built.shader);
}

void Adopt(BufferRecord& slot, BufferRecord& built)
{
    std::swap(slot.buffer, built.buffer);
    slot.usage = built.usage;
    slot.size = built.size;
}

void Adopt(DepthBufferRecord& slot, DepthBufferRecord& built)
{
    std::swap(slot.texture, built.texture);
    slot.attached = built.attached;
    slot.size = built.size;
}

// Moves a record's objects to the graveyard, for the GL thread to destroy.
void Bury(TextureRecord& r, DXRenderContext::Impl::Graveyard& g)
{
    g.textures.push_back(std::move(r.texture));
}
void Bury(RenderTargetRecord& r, DXRenderContext::Impl::Graveyard& g)
{
    g.textures.push_back(std::move(r.texture));
}
void Bury(VertexShaderRecord& r, DXRenderContext::Impl::Graveyard& g)
{
    g.shaders.push_back(std::move(r.shader));
    g.arrays.push_back(std::move(r.layout));
}
void Bury(ShaderRecord& r, DXRenderContext::Impl::Graveyard& g)
{
    g.shaders.push_back(std::move(r.shader));
}
void Bury(BufferRecord& r, DXRenderContext::Impl::Graveyard& g)
{
    g.buffers.push_back(std::move(r.buffer));
}
void Bury(DepthBufferRecord& r, DXRenderContext::Impl::Graveyard& g)
{
    g.textures.push_back(std::move(r.texture));
}

// How one creation is made: the description that is visible at once (sizes, usage, format),
// and the GPU work, which runs on the GL thread and fills a fresh record or names the failure.
template <typename Record>
struct Creation {
    ObjectType kind = ObjectType::Texture;
    SlotTable<Record>* table = nullptr;
    // Render targets, depth buffers, memory textures, vertex and index buffers give up their old
    // objects before the new ones are made, so a failed re-creation leaves the slot empty.
    bool releaseFirst = false;
    std::function<void(Record&)> describe;
    std::function<bool(Record&, std::string& failure)> build;
};

// A valid handle of the kind whose slot is in use (live or pending), under the mutex.
template <typename Record>
bool Replaceable(SlotTable<Record>& table, const Handle& handle, ObjectType kind)
{
    if (!handle || handle.GetType() != kind)
        return false;
    const Record* record = table.At(*handle);
    return record && !record->free;
}

template <typename Record>
bool Submit(DXRenderContext::Impl& d, bool glThread, Handle& handle, Creation<Record> creation)
{
    SlotTable<Record>& table = *creation.table;
    const ObjectType kind = creation.kind;
    bool replace = false;
    {
        std::lock_guard lock(d.mutex);
        replace = Replaceable(table, handle, kind);
    }
    if (handle && !replace)
        ZOR::Log("Warning: Handle {%u, %u} names no live object of this kind; a new slot is used.",
                 static_cast<unsigned>(handle.GetType()), *handle);

    if (glThread) {
        d.RunUploads();
        Record built;
        creation.describe(built);
        if (replace && creation.releaseFirst) {
            Record old;
            std::lock_guard lock(d.mutex);
            Record& slot = table.records[*handle];
            Adopt(old, slot);
            slot.pending = 0;
            d.Forget(slot.generation);
            slot.generation = 0;
        }
        std::string failure;
        if (!creation.build(built, failure)) {
            Fail(failure);
            return false;
        }
        std::lock_guard lock(d.mutex);
        const std::uint32_t index = replace ? *handle : table.FindFreeSlot();
        Record& slot = table.records[index];
        d.Forget(slot.generation);
        // A reused slot starts as a new record (a target's viewport matrix included).
        if (!replace)
            slot = Record{};
        Adopt(slot, built);
        slot.free = 0;
        slot.pending = 0;
        slot.generation = d.NextGeneration();
        d.MarkAllDirty();
        handle = Handle(kind, index);
        return true;
    }

    // Another thread: reserve the slot now, make the objects on the GL thread later.
    std::lock_guard lock(d.mutex);
    if (replace && !Replaceable(table, handle, kind))
        replace = false;
    const std::uint32_t index = replace ? *handle : table.FindFreeSlot();
    Record& slot = table.records[index];
    // A free slot's objects went to the graveyard at its release: nothing is destroyed here.
    if (!replace)
        slot = Record{};
    slot.free = 0;
    // Kinds that keep their old objects until the new ones exist keep describing the old ones
    // until then, and for good if the new ones cannot be made.
    const bool keepOld = replace && !creation.releaseFirst;
    if (!keepOld)
        creation.describe(slot);
    const std::uint64_t id = d.nextUploadId++;
    slot.pending = id;
    DXRenderContext::Impl* impl = &d;
    d.uploads.push_back({id, [impl, index, id, creation, keepOld]() {
                             SlotTable<Record>& t = *creation.table;
                             {
                                 std::lock_guard l(impl->mutex);
                                 const Record* r = t.At(index);
                                 if (!r || r->pending != id)
                                     return; // released or requested again meanwhile
                             }
                             Record built;
                             creation.describe(built);
                             std::string failure;
                             const bool ok = creation.build(built, failure);
                             {
                                 std::lock_guard l(impl->mutex);
                                 Record* r = t.At(index);
                                 if (!r || r->pending != id)
                                     return;
                                 r->pending = 0;
                                 if (ok) {
                                     impl->Forget(r->generation);
                                     Adopt(*r, built);
                                     r->generation = impl->NextGeneration();
                                 } else if (!keepOld) {
                                     // The slot stays allocated, holding nothing; its old
                                     // objects go with `built` once the mutex is released.
                                     impl->Forget(r->generation);
                                     Adopt(built, *r);
                                     r->generation = 0;
                                 }
                                 // Even a slot that kept its objects reads as live again.
                                 impl->MarkAllDirty();
                             }
                             if (!ok)
                                 Fail(failure);
                         }});
    handle = Handle(kind, index);
    return true;
}

const char* AlreadyReleased(ObjectType kind)
{
    switch (kind) {
    case ObjectType::DepthBuffer: return "Warning: This depth buffer was already released.";
    case ObjectType::Texture: return "Warning: This texture was already released.";
    case ObjectType::RenderTarget: return "Warning: This render target was already released.";
    case ObjectType::VertexShader: return "Warning: This vertex shader was already released.";
    case ObjectType::PixelShader: return "Warning: This pixel shader was already released.";
    case ObjectType::GeometryShader: return "Warning: This geometry shader was already released.";
    case ObjectType::ComputeShader: return "Warning: This compute shader was already released.";
    case ObjectType::VertexBuffer: return "Warning: This vertex buffer was already released.";
    case ObjectType::IndexBuffer: return "Warning: This index buffer was already released.";
    case ObjectType::ConstantBuffer: return "Warning: This constant buffer was already released.";
    case ObjectType::BackBuffer: break;
    }
    return nullptr;
}

template <typename Record>
void ReleaseIn(DXRenderContext::Impl& d, bool glThread, SlotTable<Record>& table, const Handle& handle)
{
    Record old;
    {
        std::lock_guard lock(d.mutex);
        Record* record = table.At(*handle);
        if (!record || record->free) {
            ZOR::Log("%s", AlreadyReleased(handle.GetType()));
            return;
        }
        record->free = 1;
        record->pending = 0; // a queued upload for the slot is dropped
        if (glThread) {
            Adopt(old, *record);
            d.Forget(record->generation);
        } else {
            Bury(*record, d.graveyard);
            d.graveyardGenerations.push_back(record->generation);
        }
        record->generation = 0;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Upload queue and caches

void DXRenderContext::Impl::RunUploads()
{
    for (;;) {
        Upload upload;
        {
            std::lock_guard lock(mutex);
            if (!graveyard.Empty() || !graveyardGenerations.empty()) {
                Graveyard dead = std::move(graveyard);
                graveyard = Graveyard{};
                for (std::uint64_t generation : graveyardGenerations)
                    Forget(generation);
                graveyardGenerations.clear();
                // dead is destroyed here, on the GL thread, with the mutex held: only the GL
                // thread ever waits long on it.
            }
            if (uploads.empty())
                return;
            upload = std::move(uploads.front());
            uploads.pop_front();
        }
        upload.run();
    }
}

void DXRenderContext::Impl::Forget(std::uint64_t generation)
{
    if (generation == 0)
        return;
    if (usedLayout == generation) {
        context.SetVertexArray(nullptr);
        usedLayout = 0;
    }
    for (auto it = framebuffers.begin(); it != framebuffers.end();) {
        const FramebufferKey& key = it->first;
        const bool uses = key.depth == generation
                          || std::find(key.colours.begin(), key.colours.begin() + key.count, generation)
                                 != key.colours.begin() + key.count;
        if (uses) {
            if (&it->second == boundFramebuffer) {
                boundFramebuffer = nullptr;
                context.SetRenderTarget(nullptr);
            }
            it = framebuffers.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = programs.begin(); it != programs.end();) {
        const ProgramKey& key = it->first;
        if (key.vertex == generation || key.geometry == generation || key.pixel == generation) {
            if (&it->second == currentProgram)
                currentProgram = nullptr;
            if (it->second.program.GetName() == usedProgram && usedProgram != 0) {
                context.SetProgram(nullptr);
                usedProgram = 0;
            }
            it = programs.erase(it);
        } else {
            ++it;
        }
    }
    MarkAllDirty();
}

std::size_t DXRenderContext::GetPendingUploadCount()
{
    std::lock_guard lock(m_impl->mutex);
    return m_impl->uploads.size();
}

namespace {

template <typename Record>
std::size_t CountInUse(const SlotTable<Record>& table)
{
    std::size_t used = 0;
    for (const Record& record : table.records)
        used += record.free ? 0 : 1;
    return used;
}

} // namespace

std::size_t DXRenderContext::GetSlotsInUse()
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    return CountInUse(d.textures) + CountInUse(d.renderTargets) + CountInUse(d.vertexShaders) +
           CountInUse(d.pixelShaders) + CountInUse(d.geometryShaders) + CountInUse(d.computeShaders) +
           CountInUse(d.vertexBuffers) + CountInUse(d.indexBuffers) + CountInUse(d.constantBuffers) +
           CountInUse(d.depthBuffers);
}

// ---------------------------------------------------------------------------------------------
// Textures

bool DXRenderContext::CreateTexture(Handle& handle, const void* pixels, const Dimension& size, Format format)
{
    Impl& d = *m_impl;
    const char* failure = "Failed to create texture from memory.";
    const FormatInfo info = GetFormatInfo(format);
    const gpu::DataFormat dataFormat = TextureFormat(format);
    if (!d.initialised || dataFormat == gpu::DataFormat::Unknown || size.width == 0 || size.height == 0
        || size.width > d.limits.maxTextureSize || size.height > d.limits.maxTextureSize) {
        if (d.initialised)
            ZOR::Log("Notice: a %ux%u texture of format %u cannot be made from memory.", size.width, size.height,
                     static_cast<unsigned>(format));
        Fail(failure);
        return false;
    }
    const bool glThread = IsGLThread();
    const std::uint64_t bytes = ImageBytes(size, info.textureBytesPerPixel);
    // Pixels are copied when the upload waits for the GL thread; the caller may free them.
    auto copy = std::make_shared<std::vector<std::uint8_t>>();
    const void* source = pixels;
    if (pixels && !glThread) {
        const auto* first = static_cast<const std::uint8_t*>(pixels);
        copy->assign(first, first + bytes);
        source = nullptr;
    }
    Creation<TextureRecord> creation;
    creation.kind = ObjectType::Texture;
    creation.table = &d.textures;
    creation.releaseFirst = true;
    creation.describe = [size, format](TextureRecord& r) {
        r.size = size;
        r.format = format;
        r.fromFile = false;
    };
    creation.build = [size, dataFormat, copy, source, failure](TextureRecord& r, std::string& message) {
        std::string error;
        if (!r.texture.Create(size.width, size.height, dataFormat, error)) {
            ZOR::Log("Notice: %s", error.c_str());
            message = failure;
            return false;
        }
        const void* data = source ? source : (copy->empty() ? nullptr : copy->data());
        if (data && !r.texture.Write(data, error))
            ZOR::Log("Warning: Failed to map data to dynamic buffer.");
        return true;
    };
    return Submit(d, glThread, handle, std::move(creation));
}

bool DXRenderContext::CreateTexture(Handle& handle, const std::string& path, bool mipMaps)
{
    Impl& d = *m_impl;
    const std::string failure = Quoted("Failed to load texture \"%s\"", path);
    if (!d.initialised) {
        Fail(failure);
        return false;
    }
    // Reading and decoding need no GL: they run on the calling thread, without the mutex.
    std::string bytes;
    switch (ReadFile(path, MaxTextureFileBytes, bytes)) {
    case ReadResult::Ok: break;
    case ReadResult::Missing:
        Fail(failure);
        return false;
    case ReadResult::TooLarge:
        ZOR::Log("Notice: %s: the file is larger than %llu bytes.", path.c_str(),
                 static_cast<unsigned long long>(MaxTextureFileBytes));
        Fail(failure);
        return false;
    }
    auto image = std::make_shared<platform::DecodedImage>();
    std::string error;
    if (!platform::DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), *image, error,
                               d.limits.maxTextureSize)) {
        ZOR::Log("Notice: %s: %s", path.c_str(), error.c_str());
        Fail(failure);
        return false;
    }
    bytes.clear();
    bytes.shrink_to_fit();
    const Dimension size(image->width, image->height);
    Creation<TextureRecord> creation;
    creation.kind = ObjectType::Texture;
    creation.table = &d.textures;
    creation.releaseFirst = false;
    creation.describe = [size](TextureRecord& r) {
        r.size = size;
        r.format = Format::R8G8B8A8_UNORM;
        r.fromFile = true;
    };
    creation.build = [image, mipMaps, failure](TextureRecord& r, std::string& message) {
        std::string glError;
        if (!r.texture.Create(image->width, image->height, gpu::DataFormat::R8G8B8A8_UNORM, glError,
                              mipMaps ? 0 : 1)
            || !r.texture.Write(image->rgba.data(), glError)) {
            ZOR::Log("Notice: %s", glError.c_str());
            r.texture.Reset();
            message = failure;
            return false;
        }
        r.texture.GenerateMipmaps();
        return true;
    };
    return Submit(d, IsGLThread(), handle, std::move(creation));
}

const Dimension& DXRenderContext::GetTextureSize(const Handle& handle)
{
    static const Dimension none;
    Impl& d = *m_impl;
    if (!handle)
        return none;
    std::lock_guard lock(d.mutex);
    switch (handle.GetType()) {
    case ObjectType::BackBuffer:
        if (handle == m_backBuffer)
            return d.backBufferViewport.size;
        break;
    case ObjectType::Texture:
        if (TextureRecord* r = d.textures.At(*handle); r && !r->free)
            return r->size;
        break;
    case ObjectType::RenderTarget:
        if (RenderTargetRecord* r = d.renderTargets.At(*handle); r && !r->free)
            return r->viewport.size;
        break;
    case ObjectType::DepthBuffer:
        if (DepthBufferRecord* r = d.depthBuffers.At(*handle); r && !r->free)
            return r->size;
        break;
    default: break;
    }
    ZOR::Log("Warning: GetTextureSize was given handle {%u, %u}, which names no texture; its size is 0x0.",
             static_cast<unsigned>(handle.GetType()), *handle);
    return none;
}

// ---------------------------------------------------------------------------------------------
// Render targets and depth buffers

bool DXRenderContext::CreateRenderTarget(Handle& handle, RenderTargetPolicy policy, Format format, float scale,
                                         const Dimension& size)
{
    Impl& d = *m_impl;
    const char* textureFailure = "Failed to create texture for render target.";
    const char* viewFailure = "Failed to create render target view for render target.";
    if (!d.initialised) {
        Fail(textureFailure);
        return false;
    }
    Dimension chosen;
    {
        std::lock_guard lock(d.mutex);
        chosen = RenderTargetSize(policy, scale, size, m_displayModes[d.currentMode].resolution);
    }
    const gpu::DataFormat dataFormat = RenderTargetFormat(format);
    Creation<RenderTargetRecord> creation;
    creation.kind = ObjectType::RenderTarget;
    creation.table = &d.renderTargets;
    creation.releaseFirst = true;
    creation.describe = [chosen, format, policy, scale](RenderTargetRecord& r) {
        r.format = format;
        r.policy = policy;
        r.scale = scale;
        r.viewport.Set(0, 0, chosen, 0.0f, 1.0f);
    };
    creation.build = [chosen, dataFormat, textureFailure, viewFailure](RenderTargetRecord& r,
                                                                        std::string& message) {
        std::string error;
        if (!r.texture.Create(chosen.width, chosen.height, dataFormat, error)) {
            ZOR::Log("Notice: %s", error.c_str());
            message = textureFailure;
            return false;
        }
        // A format the GPU cannot draw into gives an incomplete framebuffer.
        gpu::Framebuffer probe;
        const gpu::Texture2D* colour = &r.texture;
        if (!probe.Create(&colour, 1, error)) {
            ZOR::Log("Notice: %s", error.c_str());
            r.texture.Reset();
            message = viewFailure;
            return false;
        }
        return true;
    };
    return Submit(d, IsGLThread(), handle, std::move(creation));
}

bool DXRenderContext::CreateDepthBuffer(Handle& handle, const Handle& attachTo, const Dimension& size)
{
    return CreateDepthBufferFor(handle, attachTo, size);
}

bool DXRenderContext::CreateDepthBufferFor(Handle& handle, const Handle& attachTo, const Dimension& size)
{
    Impl& d = *m_impl;
    const char* failure = "Failed to create the depth buffer texture.";
    if (!d.initialised) {
        Fail(failure);
        return false;
    }
    Dimension chosen = size;
    const Handle attached = attachTo ? attachTo : m_backBuffer;
    {
        std::lock_guard lock(d.mutex);
        if (attached.GetType() == ObjectType::BackBuffer) {
            chosen = d.backBufferViewport.size;
        } else if (attached.GetType() == ObjectType::RenderTarget) {
            // A released target keeps the size it had, so what was attached to it still fits.
            if (const RenderTargetRecord* target = d.renderTargets.At(*attached))
                chosen = target->viewport.size;
        }
    }
    Creation<DepthBufferRecord> creation;
    creation.kind = ObjectType::DepthBuffer;
    creation.table = &d.depthBuffers;
    creation.releaseFirst = true;
    creation.describe = [chosen, attached](DepthBufferRecord& r) {
        r.attached = attached;
        r.size = chosen;
    };
    creation.build = [chosen, failure](DepthBufferRecord& r, std::string& message) {
        std::string error;
        if (!r.texture.Create(chosen.width, chosen.height, gpu::DataFormat::D24_UNORM_S8_UINT, error)) {
            ZOR::Log("Notice: %s", error.c_str());
            message = failure;
            return false;
        }
        return true;
    };
    return Submit(d, IsGLThread(), handle, std::move(creation));
}

void DXRenderContext::ResizeDepthBuffer(const Handle& handle, const Dimension& size)
{
    Impl& d = *m_impl;
    if (!handle)
        return;
    Handle attached;
    {
        std::lock_guard lock(d.mutex);
        const DepthBufferRecord* record =
            handle.GetType() == ObjectType::DepthBuffer ? d.depthBuffers.At(*handle) : nullptr;
        if (!record || record->free) {
            ZOR::Log("Warning: ResizeDepthBuffer was given handle {%u, %u}, which names no depth buffer.",
                     static_cast<unsigned>(handle.GetType()), *handle);
            return;
        }
        attached = record->attached;
    }
    Handle inPlace = handle;
    CreateDepthBufferFor(inPlace, attached, size);
}

void DXRenderContext::RecreateModeSizedResources()
{
    Impl& d = *m_impl;
    // Targets first, so that depth buffers attached to them take their new size. Free slots
    // are skipped: a later creation that reuses one makes it anew.
    for (std::uint32_t i = 0;; ++i) {
        RenderTargetPolicy policy{};
        Format format{};
        float scale = 1.0f;
        Dimension size;
        {
            std::lock_guard lock(d.mutex);
            if (i >= d.renderTargets.Size())
                break;
            const RenderTargetRecord& record = d.renderTargets.records[i];
            if (record.free || record.policy == RenderTargetPolicy::FixedSize)
                continue;
            policy = record.policy;
            format = record.format;
            scale = record.scale;
            size = record.viewport.size;
        }
        Handle handle(ObjectType::RenderTarget, i);
        CreateRenderTarget(handle, policy, format, scale, size);
    }
    for (std::uint32_t i = 0;; ++i) {
        {
            std::lock_guard lock(d.mutex);
            if (i >= d.depthBuffers.Size())
                break;
            if (d.depthBuffers.records[i].free)
                continue;
        }
        ResizeDepthBuffer(Handle(ObjectType::DepthBuffer, i), Dimension(0, 0));
    }
}

// ---------------------------------------------------------------------------------------------
// Shaders

namespace {

struct ShaderNames {
    const char* precompiledFailure;
    const char* compileFailure;
};

constexpr ShaderNames VertexNames{"Failed to create precompiled vertex shader \"%s\"",
                                  "Failed to compile vertex shader \"%s\""};
constexpr ShaderNames PixelNames{"Failed to create precompiled pixel shader \"%s\"",
                                 "Failed to compile pixel shader \"%s\""};
constexpr ShaderNames GeometryNames{"Failed to create precompiled geometry shader \"%s\"",
                                    "Failed to compile geometry shader \"%s\""};

// Reads a shader's GLSL source. Empty, binary or oversized files are refused with the reason.
bool ReadShaderSource(const std::string& path, const std::string& entryPoint, bool precompiled,
                      std::string& source, std::string& reason)
{
    switch (ReadFile(path, MaxShaderFileBytes, source)) {
    case ReadResult::Ok: break;
    case ReadResult::Missing: return false;
    case ReadResult::TooLarge: reason = path + ": the file is larger than a shader may be"; return false;
    }
    if (source.empty()) {
        reason = path + ": the file is empty";
        return false;
    }
    if (source.find('\0') != std::string::npos) {
        reason = path + ": the file is not shader source text";
        return false;
    }
    // Byte code has no entry point to choose; source is always compiled from "main".
    if (!precompiled && entryPoint != "main") {
        reason = path + ": entry point \"" + entryPoint + "\" is not \"main\"";
        return false;
    }
    return true;
}

bool CompileStage(gpu::Shader& shader, gpu::ShaderStage stage, const std::string& source)
{
    std::string log;
    if (shader.Compile(stage, source, log))
        return true;
    ZOR::Log("%s", log.c_str());
    return false;
}

// Every active input of the vertex stage must have elements of its kind at its locations.
bool LayoutFits(const gpu::Program& program, const std::vector<LayoutAttribute>& layout, std::string& reason)
{
    for (const gpu::Program::Input& input : program.GetInputs()) {
        for (std::uint32_t i = 0; i < input.locations; ++i) {
            const std::uint32_t location = input.location + i;
            if (location >= layout.size()) {
                reason = "input \"" + input.name + "\" at location " + std::to_string(location)
                         + " has no element";
                return false;
            }
            if (layout[location].kind != input.kind) {
                reason = "input \"" + input.name + "\" at location " + std::to_string(location)
                         + " does not match the kind of element \"" + layout[location].semanticName + "\"";
                return false;
            }
        }
    }
    return true;
}

} // namespace

bool DXRenderContext::CreateVertexShader(Handle& handle, const std::string& path,
                                         const std::vector<InputElement>& layout, bool precompiled,
                                         const std::string& entryPoint)
{
    Impl& d = *m_impl;
    const std::string failure = Quoted(precompiled ? VertexNames.precompiledFailure : VertexNames.compileFailure, path);
    const std::string layoutFailure = Quoted("Failed to create input layout for vertex shader \"%s\"", path);
    std::string source, reason;
    if (!d.initialised || !ReadShaderSource(path, entryPoint, precompiled, source, reason)) {
        if (!reason.empty())
            ZOR::Log("%s", reason.c_str());
        Fail(failure);
        return false;
    }
    std::optional<std::vector<LayoutAttribute>> attributes = BuildInputLayout(layout);
    if (!attributes || attributes->size() > d.limits.vertexAttributes) {
        Fail(layoutFailure);
        return false;
    }
    auto shared = std::make_shared<std::pair<std::string, std::vector<LayoutAttribute>>>(std::move(source),
                                                                                        std::move(*attributes));
    Creation<VertexShaderRecord> creation;
    creation.kind = ObjectType::VertexShader;
    creation.table = &d.vertexShaders;
    creation.releaseFirst = false;
    creation.describe = [](VertexShaderRecord&) {};
    creation.build = [shared, failure, layoutFailure](VertexShaderRecord& r, std::string& message) {
        if (!CompileStage(r.shader, gpu::ShaderStage::Vertex, shared->first)) {
            message = failure;
            return false;
        }
        // The vertex stage alone tells which inputs it reads and of what kind.
        gpu::Program alone;
        std::string log;
        const gpu::Shader* stage = &r.shader;
        if (!alone.Link(&stage, 1, log)) {
            ZOR::Log("%s", log.c_str());
            r.shader.Reset();
            message = failure;
            return false;
        }
        std::string reason;
        if (!LayoutFits(alone, shared->second, reason) || !r.layout.Create(reason)) {
            ZOR::Log("Notice: %s", reason.c_str());
            r.shader.Reset();
            message = layoutFailure;
            return false;
        }
        for (const LayoutAttribute& attribute : shared->second) {
            if (!r.layout.SetAttribute(attribute.location, attribute.slot, attribute.dataFormat, attribute.offset,
                                       reason)) {
                ZOR::Log("Notice: %s", reason.c_str());
                r.shader.Reset();
                r.layout.Reset();
                message = layoutFailure;
                return false;
            }
        }
        r.layout.SetDivisor(0, 0);
        r.layout.SetDivisor(1, 1);
        return true;
    };
    return Submit(d, IsGLThread(), handle, std::move(creation));
}

namespace {

template <typename Context>
bool CreateStage(Context& d, bool glThread, Handle& handle, SlotTable<ShaderRecord>& table, ObjectType kind,
                 gpu::ShaderStage stage, const ShaderNames& names, const std::string& path, bool precompiled,
                 const std::string& entryPoint)
{
    const std::string failure = Quoted(precompiled ? names.precompiledFailure : names.compileFailure, path);
    auto source = std::make_shared<std::string>();
    std::string reason;
    if (!d.initialised || !ReadShaderSource(path, entryPoint, precompiled, *source, reason)) {
        if (!reason.empty())
            ZOR::Log("%s", reason.c_str());
        Fail(failure);
        return false;
    }
    Creation<ShaderRecord> creation;
    creation.kind = kind;
    creation.table = &table;
    creation.releaseFirst = false;
    creation.describe = [](ShaderRecord&) {};
    creation.build = [source, stage, failure](ShaderRecord& r, std::string& message) {
        if (!CompileStage(r.shader, stage, *source)) {
            message = failure;
            return false;
        }
        return true;
    };
    return Submit(d, glThread, handle, std::move(creation));
}

} // namespace

bool DXRenderContext::CreatePixelShader(Handle& handle, const std::string& path, bool precompiled,
                                        const std::string& entryPoint)
{
    return CreateStage(*m_impl, IsGLThread(), handle, m_impl->pixelShaders, ObjectType::PixelShader,
                       gpu::ShaderStage::Pixel, PixelNames, path, precompiled, entryPoint);
}

bool DXRenderContext::CreateGeometryShader(Handle& handle, const std::string& path, bool precompiled,
                                           const std::string& entryPoint)
{
    return CreateStage(*m_impl, IsGLThread(), handle, m_impl->geometryShaders, ObjectType::GeometryShader,
                       gpu::ShaderStage::Geometry, GeometryNames, path, precompiled, entryPoint);
}

// ---------------------------------------------------------------------------------------------
// Buffers

namespace {

struct BufferRequest {
    ObjectType kind;
    gpu::BufferUsage usage;
    BufferUsage recordUsage;
    std::uint32_t bytes;     // as asked
    std::uint32_t gpuBytes;  // as made
    std::string failure;
    std::string outOfMemory; // empty: reported as failure
};

bool CreateBuffer(DXRenderContext::Impl& d, bool glThread, Handle& handle, SlotTable<BufferRecord>& table,
                  const BufferRequest& request, const void* data, bool releaseFirst)
{
    auto copy = std::make_shared<std::vector<std::uint8_t>>();
    const void* source = data;
    if (data && !glThread) {
        const auto* first = static_cast<const std::uint8_t*>(data);
        copy->assign(first, first + request.bytes);
        source = nullptr;
    }
    Creation<BufferRecord> creation;
    creation.kind = request.kind;
    creation.table = &table;
    creation.releaseFirst = releaseFirst;
    creation.describe = [request](BufferRecord& r) {
        r.usage = request.recordUsage;
        r.size = request.bytes;
    };
    creation.build = [request, copy, source](BufferRecord& r, std::string& message) {
        const void* initial = source ? source : (copy->empty() ? nullptr : copy->data());
        std::string error;
        switch (r.buffer.Create(request.gpuBytes, initial, request.usage, error)) {
        case gpu::Buffer::Result::Ok: return true;
        case gpu::Buffer::Result::OutOfMemory:
            message = request.outOfMemory.empty() ? request.failure : request.outOfMemory;
            return false;
        case gpu::Buffer::Result::Failed: break;
        }
        ZOR::Log("Notice: %s", error.c_str());
        message = request.failure;
        return false;
    };
    return Submit(d, glThread, handle, std::move(creation));
}

std::optional<gpu::BufferUsage> ToGpuUsage(BufferUsage usage)
{
    switch (usage) {
    case BufferUsage::Default: return gpu::BufferUsage::Default;
    case BufferUsage::Static: return gpu::BufferUsage::Immutable;
    case BufferUsage::Dynamic: return gpu::BufferUsage::Dynamic;
    }
    return std::nullopt;
}

} // namespace

bool DXRenderContext::CreateVertexBuffer(Handle& handle, BufferUsage usage, std::uint32_t bytes, const void* data)
{
    Impl& d = *m_impl;
    BufferRequest request{ObjectType::VertexBuffer, gpu::BufferUsage::Default, usage, bytes, bytes,
                          WithSize("Failed to create vertex buffer of size %d.", bytes),
                          "ZOR has run out of video memory when attempting to create a vertex buffer."};
    const std::optional<gpu::BufferUsage> gpuUsage = ToGpuUsage(usage);
    // As the GPU API does: no empty buffers, no unknown usage, no immutable buffer without data.
    if (!d.initialised || bytes == 0 || !gpuUsage || (usage == BufferUsage::Static && !data)) {
        Fail(request.failure);
        return false;
    }
    request.usage = *gpuUsage;
    return CreateBuffer(d, IsGLThread(), handle, d.vertexBuffers, request, data, true);
}

bool DXRenderContext::CreateIndexBuffer(Handle& handle, BufferUsage usage, std::uint32_t bytes, const void* data)
{
    Impl& d = *m_impl;
    BufferRequest request{ObjectType::IndexBuffer, gpu::BufferUsage::Default, usage, bytes, bytes,
                          WithSize("Failed to create index buffer of size %d.", bytes), ""};
    const std::optional<gpu::BufferUsage> gpuUsage = ToGpuUsage(usage);
    if (!d.initialised || bytes == 0 || !gpuUsage || (usage == BufferUsage::Static && !data)) {
        Fail(request.failure);
        return false;
    }
    request.usage = *gpuUsage;
    return CreateBuffer(d, IsGLThread(), handle, d.indexBuffers, request, data, true);
}

bool DXRenderContext::CreateConstantBuffer(Handle& handle, std::uint32_t bytes)
{
    Impl& d = *m_impl;
    const std::optional<std::uint32_t> gpuBytes = ConstantBufferBytes(bytes);
    BufferRequest request{ObjectType::ConstantBuffer, gpu::BufferUsage::Dynamic, BufferUsage::Dynamic, bytes,
                          gpuBytes.value_or(0), WithSize("Failed to create constant buffer of size %d.", bytes), ""};
    if (!d.initialised || bytes == 0 || !gpuBytes) {
        Fail(request.failure);
        return false;
    }
    return CreateBuffer(d, IsGLThread(), handle, d.constantBuffers, request, nullptr, false);
}

std::uint32_t DXRenderContext::GetRequestedBufferSize(const Handle& handle)
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    SlotTable<BufferRecord>* table = d.BufferTable(handle.GetType());
    if (!table)
        return 0;
    const BufferRecord* record = table->At(*handle);
    return record && !record->free ? record->size : 0;
}

// ---------------------------------------------------------------------------------------------
// Release

void DXRenderContext::Release(const Handle& handle)
{
    Impl& d = *m_impl;
    const bool glThread = IsGLThread();
    if (glThread)
        d.RunUploads();
    switch (handle.GetType()) {
    case ObjectType::DepthBuffer: ReleaseIn(d, glThread, d.depthBuffers, handle); break;
    case ObjectType::Texture: ReleaseIn(d, glThread, d.textures, handle); break;
    case ObjectType::RenderTarget: ReleaseIn(d, glThread, d.renderTargets, handle); break;
    case ObjectType::VertexShader: ReleaseIn(d, glThread, d.vertexShaders, handle); break;
    case ObjectType::PixelShader: ReleaseIn(d, glThread, d.pixelShaders, handle); break;
    case ObjectType::GeometryShader: ReleaseIn(d, glThread, d.geometryShaders, handle); break;
    case ObjectType::ComputeShader: ReleaseIn(d, glThread, d.computeShaders, handle); break;
    case ObjectType::VertexBuffer: ReleaseIn(d, glThread, d.vertexBuffers, handle); break;
    case ObjectType::IndexBuffer: ReleaseIn(d, glThread, d.indexBuffers, handle); break;
    case ObjectType::ConstantBuffer: ReleaseIn(d, glThread, d.constantBuffers, handle); break;
    case ObjectType::BackBuffer: break;
    default:
        if (handle)
            ZOR::Log("Warning: Release was given handle {%u, %u}, which names no kind of object.",
                     static_cast<unsigned>(handle.GetType()), *handle);
        break;
    }
    // The interface passes the handle as const; the caller's copy is nulled all the same. The
    // shared null handle is never written.
    if (handle)
        const_cast<Handle&>(handle) = Handle();
}

} // namespace ZOR
