#pragma once
// The table of content files below the working directory, by file name. Everything that loads
// data by name looks the name up here to get the path. Files that are new, or whose write time
// is newer than the recorded one, are announced through the file-changed event (and the event
// of their extension), so that interested parts can reload them.
#include "engine/FileInfo.h"
#include "engine/Signal.h"
#include "engine/System.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

namespace quellor {

class ResourceSystem : public System {
public:
    inline static const std::string ID = "ResourceSystem";

    using FileSignal = Signal<const FileInfo&>;
    using FileTable = std::map<std::string, FileInfo>;

    ResourceSystem() = default;
    ~ResourceSystem() override;

    // Connects the per-extension dispatch and scans the working directory.
    void Initialize() override;
    // Releases every per-extension event.
    void Shutdown() override;
    // Ctrl+R (held Ctrl, R pressed this frame) on the keyboard rescans.
    void Update(float dt) override;

    // Walks the working directory again, announcing new and newer files.
    void Rescan();
    // Walks a folder of the working directory ("" for the working directory itself).
    void ScanDirectory(const std::string& directory);
    // Records a new file with a known extension, or notes a newer write time of a known one.
    // Files are keyed by file name alone: for a name found in two folders only the first path
    // is ever examined.
    void CheckFile(const std::string& path);

    // Keyed by file name with extension ("Beta.ql"). Entries are never removed.
    FileTable& GetFiles() { return m_files; }
    const FileTable& GetFiles() const { return m_files; }
    // The record of a file name with extension, or null when the table has none.
    const FileInfo* FindFile(const std::string& fileName) const;

    // Emitted with the record of every new or newer file.
    FileSignal& GetFileChangedEvent() { return m_fileChanged; }
    // The event of one extension ("ql", without the dot), made on first use.
    FileSignal& GetExtensionEvent(const std::string& extension);

    // Passes a file-changed announcement to the event of the file's extension, if there is one.
    void OnFileChanged(const FileInfo& file);

    // Extensions are compared exactly, case included.
    static bool IsKnownExtension(const std::string& extension);

private:
    FileSignal m_fileChanged;
    std::unordered_map<std::string, std::unique_ptr<FileSignal>> m_extensionEvents;
    FileTable m_files;
};

} // namespace quellor
