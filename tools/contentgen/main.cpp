// Writes the generated binary assets into the built content folder.
#include "tools/writers/ContentGenerator.h"
#include "tools/writers/FontBuilder.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <content folder> [TrueType font]\n", argv[0]);
        return 2;
    }
    const char* font = argc == 3 ? argv[2] : tarsel::tools::kDefaultFontPath;
    return tarsel::tools::GenerateContent(argv[1], font) ? 0 : 1;
}
