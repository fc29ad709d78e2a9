#pragma once

namespace quellor {

// Builds the records of the gameplay library's reflected classes (after the physics and engine
// ones), so that levels create them by name. Runs once per process; main and test fixtures
// call it.
void RegisterGameplayTypes();

} // namespace quellor
