#pragma once
// The cosmetic items a player can wear (hats, hair, masks): the fixed master lists, the items
// unlocked so far, and the save file "SaveContent.data" that keeps the unlocked lists between
// runs. It has no key of its own: the game adds it under System::ID, "System".
//
// The file: three sections (hats, hair, masks), each an int32 count and then per entry an int32
// length (the name's characters + 1) and the name with its NUL; little-endian, nothing else.
#include "engine/System.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quellor {

class ContentSystem : public System {
public:
    using Names = std::vector<std::string>;

    // The unlocked lists a content system starts from.
    struct Unlocked {
        Names hats;
        Names hair;
        Names masks;
    };

    // A fresh profile: every hair and every mask, and "birthday_halo_hat" of the hats.
    ContentSystem();
    // Starts from these unlocked lists instead (test hook); names not in the master lists are dropped.
    explicit ContentSystem(const Unlocked& unlocked);
    ~ContentSystem() override;

    // Replaces the unlocked lists as the constructor above would (test hook).
    void SetUnlocked(const Unlocked& unlocked);

    Names GetHair() const { return m_hair; }
    Names GetMasks() const { return m_masks; }
    // Master entries not unlocked, in master order.
    Names GetLockedHair() const;
    Names GetLockedMasks() const;
    bool IsHairUnlocked(const std::string& name) const;
    bool IsMaskUnlocked(const std::string& name) const;
    const Names& GetUnlockedHats() const { return m_unlockedHats; }
    const Names& GetUnlockedHair() const { return m_unlockedHair; }
    const Names& GetUnlockedMasks() const { return m_unlockedMasks; }

    // The unlock rule: false for a name not in the master list (nothing changes), true for one
    // already unlocked (nothing changes), false when it is newly appended to the unlocked list.
    bool UnlockHat(const std::string& name);
    bool UnlockHair(const std::string& name);
    bool UnlockMask(const std::string& name);

    // The save file's full path, its folders made; empty, after a warning, when they cannot be.
    std::string GetSavePath() const;
    // Unlocks what the save file lists. A missing file changes nothing; a damaged one keeps
    // what was read before the fault, with one warning naming the file.
    void Load();
    // Writes the unlocked lists beside the file and renames them over it; on any failure the
    // old file stays as it was (one warning).
    void Save();

    // The same over bytes in memory (fuzzing, tests). LoadFrom is false when it met a fault.
    bool LoadFrom(const std::uint8_t* data, std::size_t size);
    std::vector<std::uint8_t> SaveToBytes() const;

    // Test hook: writes past this many bytes of the file fail, as a full disk would.
    void SetWriteLimit(std::optional<std::size_t> bytes) { m_writeLimit = bytes; }

private:
    class Reader;
    bool Read(Reader& reader);

    Names m_hats;
    Names m_unlockedHats;
    Names m_hair;
    Names m_unlockedHair;
    Names m_masks;
    Names m_unlockedMasks;
    std::optional<std::size_t> m_writeLimit;
};

} // namespace quellor
