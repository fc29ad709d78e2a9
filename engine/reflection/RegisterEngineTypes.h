#pragma once

namespace quellor {

// Builds the records of the built-in types and of every reflected class of the engine library.
// Runs once per process however often it is called; main and test fixtures call it.
void RegisterEngineTypes();

} // namespace quellor
