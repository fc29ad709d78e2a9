#include "renderer/Material.h"

#include "tests/support/RecordingRenderContext.h"
#include "tests/support/TempDir.h"
#include "tools/writers/MaterialWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using tarsel::test::TempDir;
using ZOR::Material;

// A material read from the given file text.
std::unique_ptr<Material> FromText(const TempDir& dir, const std::string& text)
{
    dir.Write("m.mat", text);
    auto material = std::make_unique<Material>(ZOR::Handle::Null());
    material->Load((dir / "m.mat").string());
    return material;
}

std::uint32_t Flags(const Material& m) { return m.GetData().flags; }

TEST(Material, SpecularAndNormalTypesBecomeFlags)
{
    TempDir dir;
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"[SPECULAR]\nTYPE=approximate\n", 4 | 16}, {"[SPECULAR]\nTYPE=approx\n", 4 | 16},
        {"[SPECULAR]\nTYPE=very approxy\n", 4 | 16}, {"[SPECULAR]\nTYPE=full\n", 2 | 16},
        {"[SPECULAR]\nTYPE=Full\n", 1 | 16},       {"[SPECULAR]\nTYPE=map\n", 8 | 16},
        {"[SPECULAR]\nTYPE=\n", 1 | 16},           {"[NORMAL]\nTYPE=map\n", 1 | 32},
        {"[NORMAL]\nTYPE=Map\n", 1 | 16},
    };
    for (const auto& [text, flags] : cases)
        EXPECT_EQ(Flags(*FromText(dir, text)), flags) << text;
}

TEST(Material, LoadReadsEveryKeyAndKeepsDiffuseAlpha)
{
    TempDir dir;
    const auto material = FromText(dir,
                                   "[BLEND_MODE]\nVALUE=2\n[TEXTURE_MAP]\n0=a.dds\n3=d.png\n"
                                   "[DIFFUSE_COLOR]\nR=0.25\nG=0.5\nB=0.75\nA=0.1\n"
                                   "[EMISSIVE_COLOR]\nR=1\nG=2\nB=3\n[SPECULAR]\nSHININESS=32\n");
    EXPECT_EQ(material->GetBlendMode(), ZOR::BlendMode::Additive);
    EXPECT_EQ(material->GetTextureName(Material::TEXTURE_0), "a.dds");
    EXPECT_EQ(material->GetTextureName(Material::TEXTURE_1), "");
    EXPECT_EQ(material->GetTextureName(Material::TEXTURE_3), "d.png");
    EXPECT_EQ(material->GetDiffuseColor().r, 0.25f);
    EXPECT_EQ(material->GetDiffuseColor().b, 0.75f);
    EXPECT_EQ(material->GetDiffuseColor().a, 1.0f) << "alpha is not read";
    EXPECT_EQ(material->GetEmissiveColor().b, 3.0f);
    EXPECT_EQ(material->GetEmissiveColor().a, 0.0f);
    EXPECT_EQ(material->GetSpecularShininess(), 32.0f);
    EXPECT_EQ(Flags(*material), 1u | 16u);
    EXPECT_TRUE(material->IsDirty()) << "still dirty from construction";
}

TEST(Material, UnreadableFileChangesNothing)
{
    TempDir dir;
    Material material(ZOR::Handle::Null());
    material.SetSpecularShininess(5.0f);
    material.SetFlag(Material::NORMAL_MAP, true);
    material.Load((dir / "missing.mat").string());
    EXPECT_EQ(material.GetSpecularShininess(), 5.0f);
    EXPECT_EQ(Flags(material), 17u | 32u);
}

TEST(Material, SaveThenLoadKeepsDataAndFlags)
{
    TempDir dir;
    for (const std::uint32_t flags : {1u | 16u, 2u | 32u, 4u | 16u, 8u | 32u}) {
        tarsel::tools::MaterialDescription description;
        description.blendMode = 1;
        description.textures = {"diffuse.dds", "", "normal.dds", "spec.dds"};
        description.diffuse = ZOR::Color(0.5f, 0.25f, 0.125f, 1.0f);
        description.emissive = ZOR::Color(2.0f, 0.0f, 1.5f, 0.0f);
        description.shininess = 12.5f;
        description.flags = flags;
        ASSERT_TRUE(tarsel::tools::WriteMaterial(description, (dir / "first.mat").string()));

        Material first(ZOR::Handle::Null());
        first.Load((dir / "first.mat").string());
        ASSERT_TRUE(first.Save((dir / "second.mat").string()));
        Material second(ZOR::Handle::Null());
        second.Load((dir / "second.mat").string());
        for (const Material* m : {&first, &second}) {
            EXPECT_EQ(Flags(*m), flags);
            EXPECT_EQ(m->GetBlendMode(), ZOR::BlendMode::Alpha);
            EXPECT_EQ(m->GetTextureName(2), "normal.dds");
            EXPECT_EQ(m->GetDiffuseColor().g, 0.25f);
            EXPECT_EQ(m->GetEmissiveColor().b, 1.5f);
            EXPECT_EQ(m->GetSpecularShininess(), 12.5f);
        }
        EXPECT_EQ(dir.Read("first.mat"), dir.Read("second.mat"));
    }
}

TEST(Material, IdsSortInConstructionOrder)
{
    Material a(ZOR::Handle::Null()), b(ZOR::Handle::Null()), c(ZOR::Handle::Null());
    EXPECT_EQ(b.GetID(), a.GetID() + 1);
    std::vector<const Material*> list = {&c, &a, &b};
    std::sort(list.begin(), list.end(), ZOR::MaterialSortLess);
    EXPECT_EQ(list, (std::vector<const Material*>{&a, &b, &c}));
    std::sort(list.begin(), list.end(), ZOR::MaterialSortGreater);
    EXPECT_EQ(list, (std::vector<const Material*>{&c, &b, &a}));
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(c > b);
    EXPECT_FALSE(b < a);
}

TEST(Material, BindCopiesTheBlockAndBindsFourTextures)
{
    tarsel::test::RecordingRenderContext context;
    ZOR::Handle buffer;
    ASSERT_TRUE(context.CreateConstantBuffer(buffer, 40));
    context.ClearCalls();
    Material material(buffer);
    material.Bind(&context);
    EXPECT_EQ(context.Calls(), (std::vector<std::string>{"CopyData({10, 0}, pointer, 40)", "BindTextures(4, pointer)"}));
}

TEST(Material, SettersChangeTheBlockAndOnlyTextureNamesMarkDirty)
{
    TempDir dir;
    auto material = FromText(dir, "[SPECULAR]\nTYPE=full\n");
    material->SetFlag(Material::FULL_SPECULAR | Material::NORMAL_MAP, true);
    EXPECT_TRUE(material->GetFlag(Material::NORMAL_MAP));
    material->SetFlag(Material::FULL_SPECULAR | Material::APPROXIMATE_SPECULAR, false);
    EXPECT_FALSE(material->GetFlag(Material::FULL_SPECULAR));
    EXPECT_EQ(Flags(*material), 32u | 16u);
    material->SetTextureName("x.dds", Material::TEXTURE_2);
    EXPECT_EQ(material->GetTextureName(2), "x.dds");
    EXPECT_TRUE(material->IsDirty());
}

} // namespace
