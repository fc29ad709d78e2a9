#pragma once

namespace quellor {

// Builds the records of the AI library's reflected classes (after those of the libraries below
// it), so that levels create them by name. Runs once per process; main and test fixtures call it.
void RegisterAITypes();

} // namespace quellor
