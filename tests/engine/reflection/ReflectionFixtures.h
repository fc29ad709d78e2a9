#pragma once
// Small reflected classes for the reflection tests: a polymorphic pair, a class with a second
// base whose subobject sits away from offset zero, a settings record with narrow fields and
// setters, and two classes that name each other.
#include <string>

#include "engine/reflection/BuiltinTypes.h"
#include "engine/reflection/Reflected.h"

namespace quellor::fixtures {

enum class Mode : int { Off = 0, Low = 1, High = 2 };

struct Shape {
    QUELLOR_REFLECT_ROOT(Shape)
    virtual ~Shape() = default;

    virtual int Sides() const { return 0; }
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    Shape* Self() { return this; }
    Shape* Nothing() { return nullptr; }
    const std::string& Label() const { return m_label; }
    std::string LabelCopy() const { return m_label; }
    void SetLabel(std::string label) { m_label = std::move(label); }
    float Scaled(float factor) const { return static_cast<float>(m_tag) * factor; }

    int m_tag = 0;
    std::string m_label = "shape";
};

struct Square : Shape {
    QUELLOR_REFLECT(Square)
    int Sides() const override { return 4; }
    int Corners() const { return 4; }
};

// Not reflected: only ever a second base.
struct Counter {
    virtual ~Counter() = default;
    void Add(int amount) { m_count += amount; }
    int m_count = 0;
};

// Shape first, Counter second: Counter's members and methods sit away from the object's address.
struct Gadget : Shape, Counter {
    QUELLOR_REFLECT(Gadget)
    int Sides() const override { return 3; }
};

// Counter first, the reflected base second: every conversion to Shape moves the address.
struct Flipped : Counter, Shape {
    QUELLOR_REFLECT(Flipped)
    int Sides() const override { return 5; }
    int Count() const { return m_count; }
};

struct Settings {
    QUELLOR_REFLECT_ROOT(Settings)
    virtual ~Settings() = default;

    void SetOn(bool on)
    {
        m_on = on;
        ++m_setOnCalls;
    }
    void SetNarrow(unsigned char value) { m_narrowA = value; }
    void SetMode(Mode mode) { m_mode = mode; }
    void SetShort(short value) { m_short = value; }

    unsigned char m_narrowA = 11;
    unsigned char m_narrowB = 22;
    short m_short = 0;
    bool m_on = false;
    bool m_plain = false;
    int m_setOnCalls = 0;
    Mode m_mode = Mode::Off;
    float m_ratio = 0.5f;
};

// Not default-constructible, not copyable.
struct Fixed {
    QUELLOR_REFLECT_ROOT(Fixed)
    explicit Fixed(int value) : m_value(value) {}
    Fixed(const Fixed&) = delete;
    virtual ~Fixed() = default;
    int m_value;
};

// A small value type: x goes through its setter, y is written in place.
struct Point {
    QUELLOR_REFLECT_ROOT(Point)
    virtual ~Point() = default;
    void SetX(float x)
    {
        m_x = x;
        ++m_setXCalls;
    }
    float m_x = 0;
    float m_y = 0;
    int m_setXCalls = 0;
};

// Holds a value-type member with a setter and one without, plus a string.
struct Holder {
    QUELLOR_REFLECT_ROOT(Holder)
    virtual ~Holder() = default;
    void SetPoint(const Point& point)
    {
        m_pointSeenBySetter = point.m_x;
        ++m_setPointCalls;
    }
    Point m_point;
    Point m_spare;
    std::string m_name = "holder";
    float m_pointSeenBySetter = -1;
    int m_setPointCalls = 0;
};

// Reads its own element through a custom reader; Sealed is never read at all.
struct Custom {
    QUELLOR_REFLECT_ROOT(Custom)
    virtual ~Custom() = default;
    void ReadFrom(TiXmlElement* element);
    std::string m_seen;
    int m_value = 0;
};

struct Sealed {
    QUELLOR_REFLECT_ROOT(Sealed)
    virtual ~Sealed() = default;
    int m_value = 5;
};

struct Other;

// Node and Other name each other in their method tables.
struct Node {
    QUELLOR_REFLECT_ROOT(Node)
    virtual ~Node() = default;
    Other* GetOther() { return m_other; }
    Other* m_other = nullptr;
};

struct Other {
    QUELLOR_REFLECT_ROOT(Other)
    virtual ~Other() = default;
    Node* GetNode() { return m_node; }
    Node* m_node = nullptr;
};

} // namespace quellor::fixtures

namespace quellor {
QUELLOR_BUILTIN_ENUM(fixtures::Mode, EnemyType)
} // namespace quellor
