#include <cstdio>

#include "engine/reflection/RegisterEngineTypes.h"

int main()
{
    // Every reflected type is known before anything looks one up by name.
    quellor::RegisterEngineTypes();
    std::printf("Tarsel started.\n");
    return 0;
}
