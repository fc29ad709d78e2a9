#pragma once
// A scripted behaviour-tree leaf that logs "init <name>", "update <name>" and "term <name>",
// returns the status it is given (or the next of a script, the last one repeating) and has a
// settable priority; and small builders for the composites and decorators.
#include "ai/behavior/Behavior.h"
#include "ai/behavior/Composite.h"
#include "ai/behavior/Decorator.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace quellor::test {

using Log = std::vector<std::string>;

class ScriptedLeaf : public Behavior {
public:
    ScriptedLeaf(std::string name, Log& log, BehaviorStatus result = BehaviorStatus::Running)
        : result(result), m_name(std::move(name)), m_log(&log)
    {
    }
    ~ScriptedLeaf() override
    {
        if (destroyed)
            *destroyed = true;
    }

    void OnInitialize() override { m_log->push_back("init " + m_name); }
    BehaviorStatus Update(float dt) override
    {
        m_log->push_back("update " + m_name);
        lastDt = dt;
        if (hook)
            hook();
        if (!script.empty()) {
            result = script.front();
            if (script.size() > 1)
                script.erase(script.begin());
        }
        return result;
    }
    void OnTerminate() override { m_log->push_back("term " + m_name); }
    float GetPriority() const override { return priority; }

    BehaviorStatus result;
    std::vector<BehaviorStatus> script;
    float priority = 0.0f;
    float lastDt = -1.0f;
    bool* destroyed = nullptr;
    std::function<void()> hook;

private:
    std::string m_name;
    Log* m_log;
};

// A composite of type C holding the given children (ownership passes).
template<typename C, typename... Args>
C* Holding(std::initializer_list<Behavior*> children, Args... args)
{
    auto* composite = new C(args...);
    for (Behavior* child : children)
        composite->AddChild(child);
    return composite;
}

// A decorator of type D over the child.
template<typename D>
D* Over(Behavior* child)
{
    auto* decorator = new D;
    decorator->SetChild(child);
    return decorator;
}

} // namespace quellor::test
