#include "engine/reflection/ReadVariable.h"

#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include <tinyxml.h>

#include "engine/reflection/BuiltinTypes.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaRegistry.h"
#include "engine/reflection/NumberText.h"
#include "engine/reflection/ReflectionWarning.h"
#include "engine/reflection/ScalarValue.h"
#include "engine/reflection/Variable.h"

namespace quellor {

namespace {

// Values nest as deep as their types do; this only stops a type that reaches itself through
// a member accessor from following a deep document.
constexpr int kMaxDepth = 64;

void CallWith(Function* function, const Variable& object, const Variable& value)
{
    function->PushArgument(object);
    function->PushArgument(value);
    std::unique_ptr<Variable> result(function->Invoke());
}

void CallCustomReader(Function* reader, const Variable& value, TiXmlElement* element)
{
    TiXmlElement* elementPointer = element;
    CallWith(reader, value, Variable(MetaOf<TiXmlElement>(), &elementPointer, false, true));
}

// Where a value was refused, for warnings: "Type.member (line N)" or "<tag> (line N)".
std::string Place(const Meta* owner, const Member* member, const TiXmlElement* element)
{
    std::string place = member ? owner->Name() + "." + member->GetName() : "<" + std::string(element->Value()) + ">";
    return place + " (line " + std::to_string(element->Row()) + ")";
}

// Warns about text that held no usable number; true when it did.
bool ParsedNumber(number_text::Parsed parsed, const std::string& place, const char* text)
{
    if (parsed == number_text::Parsed::NotANumber) {
        ReflectionWarning("%s: \"%s\" is not a number; value kept", place.c_str(), text);
        return false;
    }
    if (parsed == number_text::Parsed::OutOfRange) {
        ReflectionWarning("%s: %s is out of range; value kept", place.c_str(), text);
        return false;
    }
    return true;
}

// Reads the "value" attribute of `element` as a value of built-in record `type`. With a setter
// the value goes to it (bool values as the "int" the text held), else it is stored at `at`.
void ReadBuiltin(const TiXmlElement* element, Meta* type, void* at, Function* setter, const Variable* object,
                 const std::string& place)
{
    const char* text = element->Attribute("value");
    if (!text) {
        return;
    }
    switch (type->GetKind()) {
    case Meta::Kind::String: {
        std::string value(text);
        if (setter) {
            CallWith(setter, *object, Variable(&value, false));
        } else {
            *static_cast<std::string*>(at) = std::move(value);
        }
        return;
    }
    case Meta::Kind::Float: {
        double parsed = 0;
        float value = 0;
        if (!ParsedNumber(number_text::ParseReal(text, parsed), place, text)) {
            return;
        }
        if (!scalar::StoreFloat(type, &value, parsed)) {
            ReflectionWarning("%s: %s is out of range for a float; value kept", place.c_str(), text);
            return;
        }
        if (setter) {
            CallWith(setter, *object, Variable(&value, false));
        } else {
            std::memcpy(at, &value, sizeof(value));
        }
        return;
    }
    case Meta::Kind::Bool:
    case Meta::Kind::SignedInteger:
    case Meta::Kind::UnsignedInteger:
    case Meta::Kind::Enumeration: {
        long long parsed = 0;
        if (!ParsedNumber(number_text::ParseInteger(text, parsed), place, text)) {
            return;
        }
        if (type->GetKind() == Meta::Kind::Bool) {
            // Read as an int; true when non-zero. A setter is handed that int.
            if (parsed < std::numeric_limits<int>::min() || parsed > std::numeric_limits<int>::max()) {
                ReflectionWarning("%s: %s is out of range for an int; value kept", place.c_str(), text);
                return;
            }
            int value = static_cast<int>(parsed);
            if (setter) {
                CallWith(setter, *object, Variable(&value, false));
            } else {
                scalar::StoreInteger(type, at, value);
            }
            return;
        }
        alignas(long long) unsigned char value[sizeof(long long)] = {};
        if (type->GetSize() > sizeof(value) || !scalar::StoreInteger(type, value, parsed)) {
            ReflectionWarning("%s: %s is out of range for %s; value kept", place.c_str(), text, type->Name().c_str());
            return;
        }
        if (setter) {
            CallWith(setter, *object, Variable(type, value));
        } else {
            std::memcpy(at, value, type->GetSize());
        }
        return;
    }
    case Meta::Kind::Opaque:
    case Meta::Kind::Class:
        ReflectionWarning("%s: a %s cannot be read from text; skipped", place.c_str(), type->Name().c_str());
        return;
    }
}

void Fill(TiXmlElement* element, const Variable& target, int depth);

void ReadClassMember(const Variable& target, Member* member, void* at, TiXmlElement* valueElement, int depth)
{
    Meta* type = member->GetType();
    if (type->Name() != valueElement->Value()) {
        ReflectionWarning("%s holds <%s> but the member is a %s; skipped",
                          Place(target.GetType(), member, valueElement).c_str(), valueElement->Value(),
                          type->Name().c_str());
        return;
    }
    if (depth >= kMaxDepth) {
        ReflectionWarning("%s nests deeper than %d values; skipped", Place(target.GetType(), member, valueElement).c_str(),
                          kMaxDepth);
        return;
    }
    Variable value(type, at);
    Function* setter = member->GetSetter();
    if (Function* reader = type->GetCustomSerializer()) {
        CallCustomReader(reader, value, valueElement);
        if (setter) {
            CallWith(setter, target, value);
        }
    }
    if (!type->GetSkipReading()) {
        Fill(valueElement, value, depth + 1);
        if (setter) {
            CallWith(setter, target, value);
        }
    }
}

// Reads `element` into the value `target` holds, governed by the target's record.
void Fill(TiXmlElement* element, const Variable& target, int depth)
{
    Meta* type = target.GetType();
    void* object = target.Value();
    if (!type || !object) {
        return;
    }
    if (Function* reader = type->GetCustomSerializer()) {
        CallCustomReader(reader, target, element);
    }
    if (type->GetSkipReading()) {
        return;
    }
    if (type->IsBuiltin()) {
        ReadBuiltin(element, type, object, nullptr, nullptr, Place(type, nullptr, element));
        return;
    }
    for (TiXmlElement* child = element->FirstChildElement(); child; child = child->NextSiblingElement()) {
        Member* member = type->GetMember(child->Value());
        if (!member) {
            continue;
        }
        TiXmlElement* valueElement = child->FirstChildElement();
        void* at = member->Address(object);
        if (!valueElement || !at) {
            continue;
        }
        if (member->GetType()->IsBuiltin()) {
            ReadBuiltin(valueElement, member->GetType(), at, member->GetSetter(), &target,
                        Place(type, member, valueElement));
        } else {
            ReadClassMember(target, member, at, valueElement, depth);
        }
    }
}

} // namespace

Variable* ReadVariable(TiXmlElement* element, Variable* target)
{
    if (!element) {
        return target;
    }
    const char* tag = element->Value();
    if (target) {
        Meta* type = target->GetType();
        if (!type || type->Name() != tag) {
            ReflectionWarning("<%s> (line %d) does not name the value's type %s; skipped", tag, element->Row(),
                              type ? type->Name().c_str() : "(none)");
            return target;
        }
        Fill(element, *target, 0);
        return target;
    }
    Meta* type = MetaRegistry::Instance().Find(tag);
    if (!type) {
        ReflectionWarning("no reflected type named \"%s\" (line %d); nothing created", tag, element->Row());
        return nullptr;
    }
    void* object = Variable::CreateValue(type);
    if (!object) {
        ReflectionWarning("\"%s\" (line %d) cannot be created by name; nothing created", tag, element->Row());
        return nullptr;
    }
    auto* created = new Variable(type, object);
    Fill(element, *created, 0);
    return created;
}

} // namespace quellor
