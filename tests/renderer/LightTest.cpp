#include "renderer/DirectionalLight.h"
#include "renderer/PointLight.h"
#include "renderer/SpotLight.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using ZOR::Color;
using ZOR::DirectionalLight;
using ZOR::float3;
using ZOR::float4;
using ZOR::PointLight;
using ZOR::Renderable;
using ZOR::SpotLight;

namespace {

float4 AsFloat4(const Color& c)
{
    return float4(c.r, c.g, c.b, c.a);
}

void ExpectExactly(const float4& actual, const float4& expected, const std::string& name)
{
    EXPECT_EQ(actual.x, expected.x) << name;
    EXPECT_EQ(actual.y, expected.y) << name;
    EXPECT_EQ(actual.z, expected.z) << name;
    EXPECT_EQ(actual.w, expected.w) << name;
}

// One setter overload: what it does to a light whose fields were first filled with 9s (so an
// unwritten w or alpha shows), and the four floats it must leave.
template <typename Light>
struct SetterCase {
    std::string name;
    std::function<float4(Light&)> apply;
    float4 expected;
};

template <typename Light>
void RunCases(const std::vector<SetterCase<Light>>& cases, const std::function<void(Light&)>& fill)
{
    for (const SetterCase<Light>& c : cases) {
        Light light;
        fill(light);
        ExpectExactly(c.apply(light), c.expected, c.name);
    }
}

const float4 kNines(9, 9, 9, 9);
const Color kNineColor(9, 9, 9, 9);

} // namespace

TEST(Lights, DirectionalSettersWriteTheirWAndAlpha)
{
    using L = DirectionalLight;
    const std::vector<SetterCase<L>> cases = {
        {"SetDirection(float3)", [](L& l) { l.SetDirection(float3(1, 2, 3)); return l.GetDirection(); }, float4(1, 2, 3, 0)},
        {"SetDirection(x,y,z)", [](L& l) { l.SetDirection(1, 2, 3); return l.GetDirection(); }, float4(1, 2, 3, 0)},
        {"SetDirection(float4)", [](L& l) { l.SetDirection(float4(1, 2, 3, 4)); return l.GetDirection(); }, float4(1, 2, 3, 4)},
        {"SetColor(r,g,b)", [](L& l) { l.SetColor(0.1f, 0.2f, 0.3f); return AsFloat4(l.GetColor()); }, float4(0.1f, 0.2f, 0.3f, 1)},
        {"SetColor(float3)", [](L& l) { l.SetColor(float3(0.1f, 0.2f, 0.3f)); return AsFloat4(l.GetColor()); }, float4(0.1f, 0.2f, 0.3f, 1)},
        {"SetColor(Color)", [](L& l) { l.SetColor(Color(0.1f, 0.2f, 0.3f, 0.4f)); return AsFloat4(l.GetColor()); }, float4(0.1f, 0.2f, 0.3f, 0.4f)},
    };
    RunCases<L>(cases, [](L& l) {
        l.SetDirection(kNines);
        l.SetColor(kNineColor);
    });
    // The record is what the getters show, in that order.
    L light;
    light.SetDirection(1, 2, 3);
    light.SetColor(Color(4, 5, 6, 7));
    ExpectExactly(light.GetInstance().direction, float4(1, 2, 3, 0), "instance direction");
    ExpectExactly(AsFloat4(light.GetInstance().color), float4(4, 5, 6, 7), "instance colour");
}

// The position and colour overloads point and spot lights share: a position's w is 1, the
// colour's alpha comes only from a Color or the three-float form.
template <typename L>
std::vector<SetterCase<L>> PositionAndColourCases()
{
    return {
        {"SetPosition(float3)", [](L& l) { l.SetPosition(float3(1, 2, 3)); return l.GetPosition(); }, float4(1, 2, 3, 1)},
        {"SetPosition(x,y,z)", [](L& l) { l.SetPosition(1, 2, 3); return l.GetPosition(); }, float4(1, 2, 3, 1)},
        {"SetPosition(float4)", [](L& l) { l.SetPosition(float4(1, 2, 3, 4)); return l.GetPosition(); }, float4(1, 2, 3, 4)},
        {"SetColor(r,g,b)", [](L& l) { l.SetColor(0.1f, 0.2f, 0.3f); return AsFloat4(l.GetColor()); }, float4(0.1f, 0.2f, 0.3f, 1)},
        {"SetColor(float3)", [](L& l) { l.SetColor(float3(0.1f, 0.2f, 0.3f)); return AsFloat4(l.GetColor()); }, float4(0.1f, 0.2f, 0.3f, 0)},
        {"SetColor(float4)", [](L& l) { l.SetColor(float4(0.1f, 0.2f, 0.3f, 0.8f)); return AsFloat4(l.GetColor()); }, float4(0.1f, 0.2f, 0.3f, 0)},
        {"SetColor(Color)", [](L& l) { l.SetColor(Color(0.1f, 0.2f, 0.3f, 0.4f)); return AsFloat4(l.GetColor()); }, float4(0.1f, 0.2f, 0.3f, 0.4f)},
    };
}

TEST(Lights, PointAndSpotSettersWriteTheirWAndAlpha)
{
    auto point = PositionAndColourCases<PointLight>();
    point.push_back({"SetRadius/SetIntensity", [](PointLight& l) { l.SetRadius(5); l.SetIntensity(6); return float4(l.GetRadius(), l.GetIntensity(), l.GetInstance().radius, l.GetInstance().intensity); }, float4(5, 6, 5, 6)});
    RunCases<PointLight>(point, [](PointLight& l) {
        l.SetPosition(kNines);
        l.SetColor(kNineColor);
    });

    using L = SpotLight;
    auto spot = PositionAndColourCases<L>();
    spot.insert(spot.end(), {
        {"SetDirection(float3)", [](L& l) { l.SetDirection(float3(1, 2, 3)); return l.GetDirection(); }, float4(1, 2, 3, 0)},
        {"SetDirection(x,y,z)", [](L& l) { l.SetDirection(1, 2, 3); return l.GetDirection(); }, float4(1, 2, 3, 0)},
        {"SetDirection(float4)", [](L& l) { l.SetDirection(float4(1, 2, 3, 4)); return l.GetDirection(); }, float4(1, 2, 3, 4)},
        {"SetRadius/SetIntensity", [](L& l) { l.SetRadius(5); l.SetIntensity(6); return float4(l.GetRadius(), l.GetIntensity(), 0, 0); }, float4(5, 6, 0, 0)},
    });
    RunCases<L>(spot, [](L& l) {
        l.SetPosition(kNines);
        l.SetDirection(kNines);
        l.SetColor(kNineColor);
    });
}

TEST(Lights, SpotConeAnglesRoundTripThroughRadians)
{
    SpotLight spot;
    spot.SetConeAngles(45.0f, 60.0f);
    EXPECT_NEAR(spot.GetInnerAlpha(), 45.0f, 1e-4f);
    EXPECT_NEAR(spot.GetOuterAlpha(), 60.0f, 1e-4f);
    spot.SetConeAngles(-10.0f, 0.0f);
    EXPECT_NEAR(spot.GetInnerAlpha(), -10.0f, 1e-4f);
    EXPECT_EQ(spot.GetOuterAlpha(), 0.0f);
}

TEST(Lights, PointLightBoundsFollowPositionAndRadius)
{
    PointLight light;
    light.SetPosition(1, 1, 1);
    light.SetRadius(2);
    light.Update(0.016f);
    const ZOR::AABB& box = light.GetAABB();
    EXPECT_TRUE(box.min == float3(-1, -1, -1));
    EXPECT_TRUE(box.max == float3(3, 3, 3));
    EXPECT_TRUE(box.center == float3(1, 1, 1));

    light.SetPosition(float4(10, 0, 0, 0));
    light.SetRadius(0.5f);
    light.Update(0.0f);
    EXPECT_TRUE(light.GetAABB().min == float3(9.5f, -0.5f, -0.5f));
    EXPECT_TRUE(light.GetAABB().max == float3(10.5f, 0.5f, 0.5f));
}

TEST(Lights, SpotAndDirectionalUpdatesLeaveTheBoundsAlone)
{
    SpotLight spot;
    spot.SetPosition(100, 100, 100);
    spot.SetRadius(50);
    spot.Update(1.0f);
    EXPECT_TRUE(spot.GetAABB().max == float3());
    DirectionalLight directional;
    directional.SetDirection(0, -1, 0);
    directional.Update(1.0f);
    EXPECT_TRUE(directional.GetAABB().min == float3());
}
