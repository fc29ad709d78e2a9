#pragma once
// Bounded reading of little-endian binary files. Loaders parse a byte span with a ByteReader so
// that every count and length is checked against the bytes that are actually left before
// anything is allocated or copied.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

namespace ZOR {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Remaining() const { return m_bytes.size() - m_offset; }
    std::size_t Offset() const { return m_offset; }

    // True when count records of recordSize bytes are left, computed without overflow.
    bool Has(std::uint64_t count, std::uint64_t recordSize) const
    {
        if (recordSize == 0)
            return true;
        return count <= Remaining() / recordSize;
    }

    // Copies one plain value; false (and the value untouched) when too few bytes are left.
    template <typename T>
    bool Read(T& value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        if (Remaining() < sizeof(T))
            return false;
        std::memcpy(&value, m_bytes.data() + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return true;
    }

    // Replaces out with count plain records read straight from the bytes; false, with out
    // untouched, when they are not all there.
    template <typename T>
    bool ReadArray(std::vector<T>& out, std::uint64_t count)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        if (!Has(count, sizeof(T)))
            return false;
        out.resize(static_cast<std::size_t>(count));
        if (count != 0)
            std::memcpy(out.data(), m_bytes.data() + m_offset, static_cast<std::size_t>(count) * sizeof(T));
        m_offset += static_cast<std::size_t>(count) * sizeof(T);
        return true;
    }

    // Raw bytes of the given length, or an empty span (and nothing consumed) when too few are left.
    bool ReadBytes(std::uint64_t length, std::span<const std::uint8_t>& out)
    {
        if (length > Remaining())
            return false;
        out = m_bytes.subspan(m_offset, static_cast<std::size_t>(length));
        m_offset += static_cast<std::size_t>(length);
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_offset = 0;
};

// Result of reading a whole file.
enum class FileReadResult { Ok, CannotOpen, ReadError };

// Reads the whole file at path into bytes (replaced).
FileReadResult ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);

} // namespace ZOR
