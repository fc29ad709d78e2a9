// Save files of the content store, well-formed and damaged, from the writer the tests use.
#include "SeedWriter.h"

#include "tools/writers/SaveContentWriter.h"

TARSEL_FUZZ_SEEDS(save_content)
{
    for (const auto& sample : tarsel::tools::SaveContentSamples())
        fuzzseeds::WriteFile(folder, sample.name + ".data", sample.bytes);
}
