#include "tests/support/ScriptedRandom.h"

#include "engine/Random.h"

#include <utility>

namespace tarsel::test {

namespace {

std::vector<int> g_values;
std::size_t g_draws = 0;

int Draw()
{
    const int value = g_values.empty() ? 0 : g_values[g_draws % g_values.size()];
    ++g_draws;
    return value;
}

} // namespace

ScriptedRandom::ScriptedRandom(std::vector<int> values)
{
    Script(std::move(values));
    quellor::SetRandomSource(&Draw);
}

ScriptedRandom::~ScriptedRandom()
{
    quellor::SetRandomSource(nullptr);
    g_values.clear();
}

void ScriptedRandom::Script(std::vector<int> values)
{
    g_values = std::move(values);
    g_draws = 0;
}

std::size_t ScriptedRandom::Draws() const
{
    return g_draws;
}

} // namespace tarsel::test
