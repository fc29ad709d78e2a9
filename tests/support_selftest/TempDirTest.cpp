#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>

using tarsel::test::TempDir;

TEST(TempDir, IsRemovedWithItsContentsAndRestoresDocuments)
{
    setenv("TARSEL_DOCUMENTS", "/previous", 1);
    std::filesystem::path path;
    {
        TempDir dir(true);
        path = dir.Path();
        EXPECT_EQ(std::string(std::getenv("TARSEL_DOCUMENTS")), path.string());
        dir.Write("a/b.txt", "hello");
        EXPECT_EQ(dir.Read("a/b.txt"), "hello");
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(std::string(std::getenv("TARSEL_DOCUMENTS")), "/previous");
}
