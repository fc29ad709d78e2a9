#pragma once

namespace quellor {

// Builds the records of the physics library's reflected classes (after the engine's), so that
// levels create them by name. Runs once per process; main and test fixtures call it.
void RegisterPhysicsTypes();

} // namespace quellor
