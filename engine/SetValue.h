#pragma once
// An action that, when it starts, writes a value copied at construction into a float or bool
// and finishes at once.
#include "engine/Action.h"

#include <memory>

namespace quellor {

class SetValue : public Action {
public:
    SetValue(float* target, const float& value);
    SetValue(bool* target, bool value);
    ~SetValue() override;

    void Update(float dt) override;

    // Started event: writes the value and finishes.
    void Execute();
    // Ended event: frees the value holder.
    void Release();

    class Holder {
    public:
        virtual ~Holder() = default;
        virtual void Apply() = 0;
    };

    template<typename T>
    class SetValueImpl : public Holder {
    public:
        SetValueImpl(T* target, const T& value) : m_target(target), m_value(value) {}
        void Apply() override
        {
            if (m_target)
                *m_target = m_value;
        }

    private:
        T* m_target;
        T m_value;
    };

private:
    void ConnectHandlers();

    std::unique_ptr<Holder> m_holder;
};

} // namespace quellor
