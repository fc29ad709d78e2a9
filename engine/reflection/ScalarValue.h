#pragma once
// Reading and writing the values of built-in records by their own kind and width, so that a
// value is always converted and never reinterpreted as the bytes of another type.
#include <cstdint>

namespace quellor {

class Meta;

namespace scalar {

// Integer-like records: the integers, bool and the enumerations.
bool IsIntegerLike(const Meta* type);
bool IsFloat(const Meta* type);

// The value at `at`, read by the record's kind and size.
bool ReadInteger(const Meta* type, const void* at, long long& out);
bool ReadFloat(const Meta* type, const void* at, double& out);

// The range an integer-like record can hold (bool: 0..1 is not enforced, any value is true).
bool IntegerRange(const Meta* type, long long& low, long long& high);

// Store at the record's own width. False (nothing written) when the value does not fit or the
// record is not of that kind. Bool stores value != 0.
bool StoreInteger(const Meta* type, void* at, long long value);
// Float records only; false for values a 32-bit float cannot hold (and for non-finite values).
bool StoreFloat(const Meta* type, void* at, double value);

} // namespace scalar
} // namespace quellor
