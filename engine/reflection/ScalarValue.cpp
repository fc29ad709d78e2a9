#include "engine/reflection/ScalarValue.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine/reflection/Meta.h"

namespace quellor::scalar {

namespace {

template <class T>
T Load(const void* at)
{
    T value;
    std::memcpy(&value, at, sizeof(T));
    return value;
}

template <class T>
void Put(void* at, T value)
{
    std::memcpy(at, &value, sizeof(T));
}

} // namespace

bool IsIntegerLike(const Meta* type)
{
    if (!type) {
        return false;
    }
    switch (type->GetKind()) {
    case Meta::Kind::SignedInteger:
    case Meta::Kind::UnsignedInteger:
    case Meta::Kind::Bool:
    case Meta::Kind::Enumeration:
        return true;
    default:
        return false;
    }
}

bool IsFloat(const Meta* type)
{
    return type && type->GetKind() == Meta::Kind::Float && type->GetSize() == sizeof(float);
}

bool ReadInteger(const Meta* type, const void* at, long long& out)
{
    if (!type || !at) {
        return false;
    }
    switch (type->GetKind()) {
    case Meta::Kind::SignedInteger:
    case Meta::Kind::Enumeration:
        switch (type->GetSize()) {
        case 1: out = Load<signed char>(at); return true;
        case 2: out = Load<short>(at); return true;
        case 4: out = Load<int>(at); return true;
        case 8: out = Load<long long>(at); return true;
        default: return false;
        }
    case Meta::Kind::UnsignedInteger:
        switch (type->GetSize()) {
        case 1: out = Load<unsigned char>(at); return true;
        case 2: out = Load<unsigned short>(at); return true;
        case 4: out = Load<unsigned int>(at); return true;
        default: return false;
        }
    case Meta::Kind::Bool:
        // Read the byte, not a bool: a stray value other than 0 or 1 still means true.
        out = Load<unsigned char>(at) != 0 ? 1 : 0;
        return true;
    default:
        return false;
    }
}

bool ReadFloat(const Meta* type, const void* at, double& out)
{
    if (!IsFloat(type) || !at) {
        return false;
    }
    out = Load<float>(at);
    return true;
}

bool IntegerRange(const Meta* type, long long& low, long long& high)
{
    if (!type) {
        return false;
    }
    switch (type->GetKind()) {
    case Meta::Kind::SignedInteger:
    case Meta::Kind::Enumeration:
        switch (type->GetSize()) {
        case 1: low = std::numeric_limits<signed char>::min(); high = std::numeric_limits<signed char>::max(); return true;
        case 2: low = std::numeric_limits<short>::min(); high = std::numeric_limits<short>::max(); return true;
        case 4: low = std::numeric_limits<int>::min(); high = std::numeric_limits<int>::max(); return true;
        case 8: low = std::numeric_limits<long long>::min(); high = std::numeric_limits<long long>::max(); return true;
        default: return false;
        }
    case Meta::Kind::UnsignedInteger:
        low = 0;
        switch (type->GetSize()) {
        case 1: high = std::numeric_limits<unsigned char>::max(); return true;
        case 2: high = std::numeric_limits<unsigned short>::max(); return true;
        case 4: high = std::numeric_limits<unsigned int>::max(); return true;
        default: return false;
        }
    case Meta::Kind::Bool:
        low = std::numeric_limits<long long>::min();
        high = std::numeric_limits<long long>::max();
        return true;
    default:
        return false;
    }
}

bool StoreInteger(const Meta* type, void* at, long long value)
{
    long long low = 0;
    long long high = 0;
    if (!at || !IntegerRange(type, low, high) || value < low || value > high) {
        return false;
    }
    switch (type->GetKind()) {
    case Meta::Kind::Bool:
        Put<bool>(at, value != 0);
        return true;
    case Meta::Kind::SignedInteger:
    case Meta::Kind::Enumeration:
        switch (type->GetSize()) {
        case 1: Put(at, static_cast<signed char>(value)); return true;
        case 2: Put(at, static_cast<short>(value)); return true;
        case 4: Put(at, static_cast<int>(value)); return true;
        case 8: Put(at, value); return true;
        default: return false;
        }
    case Meta::Kind::UnsignedInteger:
        switch (type->GetSize()) {
        case 1: Put(at, static_cast<unsigned char>(value)); return true;
        case 2: Put(at, static_cast<unsigned short>(value)); return true;
        case 4: Put(at, static_cast<unsigned int>(value)); return true;
        default: return false;
        }
    default:
        return false;
    }
}

bool StoreFloat(const Meta* type, void* at, double value)
{
    if (!IsFloat(type) || !at || !std::isfinite(value) || std::fabs(value) > FLT_MAX) {
        return false;
    }
    Put(at, static_cast<float>(value));
    return true;
}

} // namespace quellor::scalar
