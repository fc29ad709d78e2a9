#pragma once
// A reflected data member: its type record, where it lives inside its object, its registered
// name, optional getter and setter bindings and an asset-extension hint for tools.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quellor {

class Function;
class Meta;

class Member {
public:
    // Finds the member inside an object given as its class's address.
    using Locator = std::function<void*(void*)>;

    // A member at a fixed byte offset (for plain records laid out by hand).
    Member(Meta* type, std::uint32_t offset, std::string name);
    // A member found through a locator built from a member pointer or a reference accessor,
    // which stays exact for classes that are not standard-layout.
    Member(Meta* type, Locator locator, std::string name);
    ~Member();

    Member(const Member&) = delete;
    Member& operator=(const Member&) = delete;

    // The member's storage inside `object` (the object seen as the class that registered it).
    void* Address(void* object) const;

    Function* SetGetter(std::unique_ptr<Function> getter);
    Function* SetSetter(std::unique_ptr<Function> setter);
    void SetExtension(std::string extension) { m_extension = std::move(extension); }

    Function* GetGetter() const { return m_getter.get(); }
    Function* GetSetter() const { return m_setter.get(); }
    const std::string& GetExtension() const { return m_extension; }
    Meta* GetType() const { return m_type; }
    // The byte offset for offset-built members; 0 for located ones.
    std::uint32_t GetOffset() const { return m_offset; }
    const std::string& GetName() const { return m_name; }

private:
    std::unique_ptr<Function> m_getter;
    std::unique_ptr<Function> m_setter;
    std::string m_extension;
    Meta* m_type;
    std::uint32_t m_offset;
    Locator m_locator;
    std::string m_name;
};

} // namespace quellor
