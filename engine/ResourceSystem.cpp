#include "engine/ResourceSystem.h"

#include "engine/Engine.h"
#include "engine/Input.h"
#include "platform/Files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace quellor {

namespace {

// The content file types the game loads, compared exactly (case included).
constexpr std::array<std::string_view, 27> kKnownExtensions = {
    "png", "dds", "bff", "shape", "vs", "ps", "gs", "lvl", "world", "dialogue", "ql", "py", "lua", "wav",
    "mp3", "ogg", "arch", "model", "anim", "mat", "pe", "hlsl", "vert", "frag", "fnt", "sprite", "particle",
};

} // namespace

ResourceSystem::~ResourceSystem() = default;

bool ResourceSystem::IsKnownExtension(const std::string& extension)
{
    return std::find(kKnownExtensions.begin(), kKnownExtensions.end(), extension) != kKnownExtensions.end();
}

void ResourceSystem::Initialize()
{
    m_fileChanged.ConnectSlot(MakeDelegate(this, &ResourceSystem::OnFileChanged), 0, false);
    ScanDirectory("");
}

void ResourceSystem::Shutdown()
{
    m_extensionEvents.clear();
}

void ResourceSystem::Update(float)
{
    const Input* input = DefaultSystem<Input>();
    if (input && input->KeyIsDown(17, -1) && input->KeyIsPressed(82, -1))
        Rescan();
}

const FileInfo* ResourceSystem::FindFile(const std::string& fileName) const
{
    const auto found = m_files.find(fileName);
    return found == m_files.end() ? nullptr : &found->second;
}

void ResourceSystem::Rescan()
{
    ScanDirectory("");
}

void ResourceSystem::ScanDirectory(const std::string& directory)
{
    const std::filesystem::path root = directory.empty() ? std::filesystem::path(".") : std::filesystem::path(directory);
    platform::WalkFiles(root, [&](const std::string& relative) {
        CheckFile(directory.empty() ? relative : directory + "/" + relative);
    });
}

void ResourceSystem::CheckFile(const std::string& path)
{
    FileInfo found = FileInfo::FromPath(path);
    auto known = m_files.find(found.fileName);
    if (known == m_files.end()) {
        if (!IsKnownExtension(found.extension))
            return;
        if (!platform::LastWriteTime(found.path, found.lastWrite)) {
            std::printf("Warning: cannot read the write time of \"%s\"; the file is not recorded\n", path.c_str());
            return;
        }
        const std::string key = found.fileName;
        auto stored = m_files.emplace(key, std::move(found)).first;
        m_fileChanged.Emit(stored->second);
        return;
    }
    FileInfo& entry = known->second;
    std::filesystem::file_time_type written;
    if (!platform::LastWriteTime(entry.path, written)) {
        std::printf("Warning: cannot read the write time of \"%s\"; its entry is kept as it was\n",
                    entry.path.c_str());
        return;
    }
    if (written > entry.lastWrite) {
        entry.lastWrite = written;
        m_fileChanged.Emit(entry);
    }
}

ResourceSystem::FileSignal& ResourceSystem::GetExtensionEvent(const std::string& extension)
{
    std::unique_ptr<FileSignal>& event = m_extensionEvents[extension];
    if (!event)
        event = std::make_unique<FileSignal>();
    return *event;
}

void ResourceSystem::OnFileChanged(const FileInfo& file)
{
    auto event = m_extensionEvents.find(file.extension);
    if (event != m_extensionEvents.end())
        event->second->Emit(file);
}

} // namespace quellor
