#pragma once

namespace quellor {

// Builds the records of the front end's reflected classes, after those of the libraries below
// it, so that levels and archetypes create them by name. Runs once per process; the game and
// test fixtures call it.
void RegisterFrontendTypes();

} // namespace quellor
