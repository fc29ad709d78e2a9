#pragma once

namespace ZOR {

// Told the name of each pass as the frame reaches it (timing tools hook in here).
class PassProfiler {
public:
    virtual ~PassProfiler() = default;
    virtual void OnPass(const char* pass) = 0;
};

} // namespace ZOR
