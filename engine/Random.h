#pragma once
// The engine's one source of random numbers. By default it is the C runtime's rand(), which the
// game never seeds; tests install a scripted sequence so that random choices are pinned.
namespace quellor {

// The next draw, from 0 to RAND_MAX (or whatever the installed source returns).
int Random();

// A uniform value in [0, 1) with four decimals: (draw mod 10000) × 0.0001.
float RandomUnit();

// Test hook: a function to draw from instead of rand(); null restores rand().
using RandomSource = int (*)();
void SetRandomSource(RandomSource source);

} // namespace quellor
