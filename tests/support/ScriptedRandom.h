#pragma once
// Installs a scripted sequence as the engine's random source for the object's lifetime (one at
// a time): draws return the values in order and then start over; rand() comes back after.
#include <cstddef>
#include <vector>

namespace tarsel::test {

class ScriptedRandom {
public:
    explicit ScriptedRandom(std::vector<int> values);
    ~ScriptedRandom();
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    // Replaces the sequence and starts it from its first value.
    void Script(std::vector<int> values);
    // Draws taken so far.
    std::size_t Draws() const;
};

} // namespace tarsel::test
