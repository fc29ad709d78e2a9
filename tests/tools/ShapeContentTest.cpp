// The content generator makes the shapes that levels and archetypes name, and refuses a name
// it has no builder for.
#include "tests/support/TempDir.h"
#include "tools/writers/ShapeContent.h"

#include <gtest/gtest.h>

namespace {

using tarsel::test::TempDir;

TEST(ShapeContent, NamedShapesAreWrittenAndUnknownNamesFail)
{
    TempDir dir;
    dir.Write("levels/a.ql", R"(<l><e><c><MeshColliderComponent3D><m_file><string value="sample_pillar.shape"/>
      </m_file></MeshColliderComponent3D></c></e><f><c><X><m_file><string value = "sample_island.shape"/></m_file></X></c></f></l>)");
    dir.Write("archetypes/b.arch", R"(<a><MeshColliderComponent3D><m_file><string value="sample_pillar.shape"/>
      </m_file></MeshColliderComponent3D></a>)");
    dir.Write("notes/readme.txt", R"(value="not_a_level.shape")");
    EXPECT_EQ(tarsel::tools::ShapesNamedIn(dir.Path()),
              (std::vector<std::string>{"sample_island.shape", "sample_pillar.shape"}));
    ASSERT_TRUE(tarsel::tools::GenerateShapes(dir.Path()));
    EXPECT_EQ(dir.Read("shapes/sample_pillar.shape"), tarsel::tools::ShapeBuilders().at("sample_pillar.shape")());
    EXPECT_EQ(dir.Read("shapes/sample_island.shape"), tarsel::tools::ShapeBuilders().at("sample_island.shape")());

    dir.Write("archetypes/c.arch", R"(<a><M><m_file><string value="nobody_builds_this.shape"/></m_file></M></a>)");
    testing::internal::CaptureStderr();
    EXPECT_FALSE(tarsel::tools::GenerateShapes(dir.Path()));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("nobody_builds_this.shape"), std::string::npos);
}

} // namespace
