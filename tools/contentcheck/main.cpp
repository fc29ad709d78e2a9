// Checks the built content folder against the names the game uses; lists each problem.
#include "tools/contentcheck/ContentCheck.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <source folder> <content folder>\n", argv[0]);
        return 2;
    }
    const tarsel::tools::CheckReport report = tarsel::tools::CheckContent(argv[1], argv[2]);
    for (const std::string& problem : report.problems)
        std::printf("%s\n", problem.c_str());
    if (!report.problems.empty()) {
        std::printf("%zu problems in %s\n", report.problems.size(), argv[2]);
        return 1;
    }
    std::printf("content complete: %s\n", argv[2]);
    return 0;
}
