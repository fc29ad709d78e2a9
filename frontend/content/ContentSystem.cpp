#include "frontend/content/ContentSystem.h"

#include "platform/Files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace quellor {

namespace {

const char* const kMasterHats[] = {"birthday_hat", "birthday_halo_hat"};
const char* const kMasterHair[] = {"hair_tarsel:hair_black", "hair_tarsel:mask_purple", "hair_tarsel:mask_red"};
const char* const kMasterMasks[] = {"mask_default:mask_default", "mask_fox:mask_fox0", "mask_default:mask_fox1",
                                    "mask_bunny:mask_bunny"};

bool Contains(const ContentSystem::Names& list, const std::string& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

bool Unlock(const ContentSystem::Names& master, ContentSystem::Names& unlocked, const std::string& name)
{
    if (!Contains(master, name))
        return false;
    if (Contains(unlocked, name))
        return true;
    unlocked.push_back(name);
    return false;
}

ContentSystem::Names Locked(const ContentSystem::Names& master, const ContentSystem::Names& unlocked)
{
    ContentSystem::Names locked;
    for (const std::string& name : master)
        if (!Contains(unlocked, name))
            locked.push_back(name);
    return locked;
}

bool MakeFolder(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::create_directory(folder, ec);
    if (std::filesystem::is_directory(folder, ec))
        return true;
    std::printf("Warning: cannot create the folder \"%s\"; the save file is not used\n", folder.string().c_str());
    return false;
}

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void PutSection(std::vector<std::uint8_t>& out, const ContentSystem::Names& names)
{
    PutInt32(out, static_cast<std::int32_t>(names.size()));
    for (const std::string& name : names) {
        PutInt32(out, static_cast<std::int32_t>(name.size() + 1));
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(0);
    }
}

} // namespace

// Bytes of the save file, from the file itself or from memory. It knows how many bytes are
// left, so that a length is checked against them before anything is read or allocated.
class ContentSystem::Reader {
public:
    Reader(std::FILE* file, std::size_t size) : m_file(file), m_left(size) {}
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_left(size) {}

    bool ReadInt32(std::int32_t& value)
    {
        std::uint8_t bytes[4];
        if (!ReadBytes(bytes, 4))
            return false;
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
        value = static_cast<std::int32_t>(bits);
        return true;
    }

    // An entry: its length, then that many bytes; the name ends at the first NUL among them.
    bool ReadString(std::string& name)
    {
        std::int32_t length = 0;
        if (!ReadInt32(length) || length < 0 || static_cast<std::size_t>(length) > m_left)
            return false;
        std::string text(static_cast<std::size_t>(length), '\0');
        if (length > 0 && !ReadBytes(text.data(), text.size()))
            return false;
        name.assign(text.c_str());
        return true;
    }

private:
    bool ReadBytes(void* out, std::size_t count)
    {
        if (count > m_left)
            return false;
        if (m_file) {
            if (std::fread(out, 1, count, m_file) != count)
                return false;
        } else {
            std::copy(m_data, m_data + count, static_cast<std::uint8_t*>(out));
            m_data += count;
        }
        m_left -= count;
        return true;
    }

    std::FILE* m_file = nullptr;
    const std::uint8_t* m_data = nullptr;
    std::size_t m_left;
};

ContentSystem::ContentSystem()
{
    // Each entry is added to its master list and then unlocked, so the unlocked lists start
    // in master order.
    for (const char* hat : kMasterHats) {
        m_hats.push_back(hat);
        if (m_hats.back() != "birthday_hat")
            UnlockHat(hat);
    }
    for (const char* hair : kMasterHair) {
        m_hair.push_back(hair);
        UnlockHair(hair);
    }
    for (const char* mask : kMasterMasks) {
        m_masks.push_back(mask);
        UnlockMask(mask);
    }
}

ContentSystem::ContentSystem(const Unlocked& unlocked) : ContentSystem()
{
    SetUnlocked(unlocked);
}

void ContentSystem::SetUnlocked(const Unlocked& unlocked)
{
    m_unlockedHats.clear();
    m_unlockedHair.clear();
    m_unlockedMasks.clear();
    for (const std::string& name : unlocked.hats)
        UnlockHat(name);
    for (const std::string& name : unlocked.hair)
        UnlockHair(name);
    for (const std::string& name : unlocked.masks)
        UnlockMask(name);
}

ContentSystem::~ContentSystem() = default;

ContentSystem::Names ContentSystem::GetLockedHair() const
{
    return Locked(m_hair, m_unlockedHair);
}

ContentSystem::Names ContentSystem::GetLockedMasks() const
{
    return Locked(m_masks, m_unlockedMasks);
}

bool ContentSystem::IsHairUnlocked(const std::string& name) const
{
    return Contains(m_unlockedHair, name);
}

bool ContentSystem::IsMaskUnlocked(const std::string& name) const
{
    return Contains(m_unlockedMasks, name);
}

bool ContentSystem::UnlockHat(const std::string& name)
{
    return Unlock(m_hats, m_unlockedHats, name);
}

bool ContentSystem::UnlockHair(const std::string& name)
{
    return Unlock(m_hair, m_unlockedHair, name);
}

bool ContentSystem::UnlockMask(const std::string& name)
{
    return Unlock(m_masks, m_unlockedMasks, name);
}

std::string ContentSystem::GetSavePath() const
{
    std::filesystem::path folder = platform::DocumentsFolder() / "Corvath";
    if (!MakeFolder(folder))
        return {};
    folder /= "Tarsel";
    if (!MakeFolder(folder))
        return {};
    return (folder / "SaveContent.data").string();
}

bool ContentSystem::Read(Reader& reader)
{
    bool (ContentSystem::*const unlocks[])(const std::string&) = {&ContentSystem::UnlockHat,
                                                                  &ContentSystem::UnlockHair,
                                                                  &ContentSystem::UnlockMask};
    for (auto unlock : unlocks) {
        std::int32_t count = 0;
        if (!reader.ReadInt32(count))
            return false;
        // A count is never trusted for storage: entries are read one by one until it is met
        // or the bytes run out.
        for (std::int32_t i = 0; i < count; ++i) {
            std::string name;
            if (!reader.ReadString(name))
                return false;
            (this->*unlock)(name);
        }
    }
    return true;
}

void ContentSystem::Load()
{
    const std::string path = GetSavePath();
    if (path.empty())
        return;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::FILE* file = ec ? nullptr : std::fopen(path.c_str(), "rb");
    if (!file) {
        std::printf("Warning: cannot read the save file \"%s\"; nothing unlocked from it\n", path.c_str());
        return;
    }
    Reader reader(file, static_cast<std::size_t>(size));
    if (!Read(reader))
        std::printf("Warning: the save file \"%s\" is damaged or cut short; what came before the fault is kept\n",
                    path.c_str());
    std::fclose(file);
}

void ContentSystem::Save()
{
    const std::string path = GetSavePath();
    if (path.empty())
        return;
    const std::vector<std::uint8_t> bytes = SaveToBytes();
    const std::string temporary = path + ".tmp";
    bool written = false;
    if (std::FILE* file = std::fopen(temporary.c_str(), "wb")) {
        const std::size_t allowed = std::min(bytes.size(), m_writeLimit.value_or(bytes.size()));
        written = std::fwrite(bytes.data(), 1, allowed, file) == allowed && allowed == bytes.size();
        written = std::fclose(file) == 0 && written;
    }
    std::error_code ec;
    if (written)
        std::filesystem::rename(temporary, path, ec);
    if (!written || ec) {
        std::filesystem::remove(temporary, ec);
        std::printf("Warning: cannot write the save file \"%s\"; the old one is kept\n", path.c_str());
    }
}

bool ContentSystem::LoadFrom(const std::uint8_t* data, std::size_t size)
{
    Reader reader(data, size);
    return Read(reader);
}

std::vector<std::uint8_t> ContentSystem::SaveToBytes() const
{
    std::vector<std::uint8_t> bytes;
    PutSection(bytes, m_unlockedHats);
    PutSection(bytes, m_unlockedHair);
    PutSection(bytes, m_unlockedMasks);
    return bytes;
}

} // namespace quellor
