#include "renderer/ByteReader.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace ZOR {

FileReadResult ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return FileReadResult::CannotOpen;
    // The size taken up front is only a hint: read until the end, so that a file that is a
    // folder, a pipe or changes under us never leaves bytes unread or uninitialised.
    std::error_code ec;
    const auto hint = std::filesystem::file_size(path, ec);
    std::vector<std::uint8_t> data(ec ? 65536 : static_cast<std::size_t>(hint) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == data.size())
            data.resize(data.size() * 2);
        const std::size_t got = std::fread(data.data() + used, 1, data.size() - used, file.get());
        used += got;
        if (got == 0)
            break;
    }
    if (std::ferror(file.get()))
        return FileReadResult::ReadError;
    data.resize(used);
    bytes = std::move(data);
    return FileReadResult::Ok;
}

} // namespace ZOR
