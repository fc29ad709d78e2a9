// Blended and prioritized steering over children with scripted outputs: the weighted sums,
// the quirks of the shared scratch and the force budget, the Hamilton order, and copies.
#include "tests/ai/AITestKit.h"
#include "tests/ai/SteeringExpect.h"

#include "ai/steering/BlendedSteering.h"
#include "ai/steering/PrioritizedSteering.h"
#include "ai/steering/Steering.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"

#include <cmath>

namespace quellor::test {
namespace {

ScriptedBehavior* Fixed(const Vec4& linear, const Quat& angular = Quat())
{
    return (new ScriptedBehavior)->Linear(linear)->Angular(angular);
}

const Quat kI(1.0f, 0.0f, 0.0f, 0.0f);
const Quat kJ(0.0f, 1.0f, 0.0f, 0.0f);

TEST(BlendedSteeringTest, WeightsAndDividesTheLinearPartAndChainsTheAngularPartUndivided)
{
    BlendedSteering blended;
    blended.AddBehavior(Fixed(Vec4(2.0f, 0.0f, 0.0f, 0.0f), kI), 1.0f);
    blended.AddBehavior(Fixed(Vec4(0.0f, 0.0f, 4.0f, 0.0f), kJ), 1.0f);

    SteeringOutput out;
    blended.Calculate(out); // divisor 0: the sum as it is
    ExpectVec(out.linear, 2.0f, 0.0f, 4.0f);
    // identity ⊗ i ⊗ j = k, where j ⊗ i would give -k.
    ExpectQuat(out.angular, Quat(0.0f, 0.0f, 1.0f, 0.0f));

    blended.divisor = 2.0f;
    out.Reset();
    blended.Calculate(out); // the mean; the angular part is not divided
    ExpectVec(out.linear, 1.0f, 0.0f, 2.0f);
    ExpectQuat(out.angular, Quat(0.0f, 0.0f, 1.0f, 0.0f));

    // Weights scale all four quaternion components; the sum adds onto what out held.
    blended.behaviors[1].weight = 0.5f;
    blended.divisor = 0.0f;
    out.linear = Vec4(1.0f, 1.0f, 1.0f, 0.0f);
    out.angular = Quat();
    blended.Calculate(out);
    ExpectVec(out.linear, 3.0f, 1.0f, 3.0f);
    ExpectQuat(out.angular, Quat(0.0f, 0.0f, 0.5f, 0.0f));
}

TEST(BlendedSteeringTest, TheScratchCarriesOverBetweenChildren)
{
    BlendedSteering blended;
    blended.AddBehavior(Fixed(Vec4(1.0f, 0.0f, 0.0f, 0.0f), kI), 1.0f);
    // Writes only its angular part: the previous child's linear part is summed again.
    blended.AddBehavior((new ScriptedBehavior)->Angular(kJ), 2.0f);
    SteeringOutput out;
    blended.Calculate(out);
    ExpectVec(out.linear, 3.0f, 0.0f, 0.0f);
    ExpectQuat(out.angular, steering::Multiply(kI, steering::Scale(kJ, 2.0f)));
}

TEST(PrioritizedSteeringTest, ChildrenFillTheForceBudgetInOrderUntilNothingIsLeft)
{
    PrioritizedSteering prioritized(10.0f);
    auto* first = Fixed(Vec4(6.0f, 0.0f, 0.0f, 0.0f));
    auto* second = Fixed(Vec4(8.0f, 0.0f, 0.0f, 0.0f), kI);
    auto* third = Fixed(Vec4(5.0f, 0.0f, 0.0f, 0.0f));
    prioritized.AddBehavior(first, 1.0f);
    // Clipped to what is left: unit direction × 4, the weight not applied.
    prioritized.AddBehavior(second, 3.0f);
    prioritized.AddBehavior(third, 1.0f);
    auto* fourth = Fixed(Vec4(1.0f, 0.0f, 0.0f, 0.0f));
    prioritized.AddBehavior(fourth, 1.0f);

    SteeringOutput out;
    out.linear = Vec4(100.0f, 0.0f, 0.0f, 0.0f); // reset first
    prioritized.Calculate(out);
    ExpectVec(out.linear, 10.0f, 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(steering::Length(out.linear), 10.0f);
    ExpectQuat(out.angular, steering::Scale(kI, 3.0f));
    EXPECT_EQ(first->calls, 1);
    EXPECT_EQ(second->calls, 1);
    EXPECT_EQ(third->calls, 1); // asked, then nothing was left to add it to, and the loop stops
    EXPECT_EQ(fourth->calls, 0);
    // The budget spent, nothing changes.
    SteeringOutput total = out;
    EXPECT_FALSE(prioritized.AccumulateForce(out, 1.0f, total));
    ExpectVec(total.linear, 10.0f, 0.0f, 0.0f);
}

TEST(PrioritizedSteeringTest, AChildThatFitsIsAddedWithItsWeight)
{
    PrioritizedSteering prioritized(10.0f);
    prioritized.AddBehavior(Fixed(Vec4(0.0f, 0.0f, 6.0f, 0.0f)), 0.5f);
    prioritized.AddBehavior(Fixed(Vec4(0.0f, 2.0f, 0.0f, 0.0f)), 2.0f);
    SteeringOutput out;
    prioritized.Calculate(out);
    ExpectVec(out.linear, 0.0f, 4.0f, 3.0f);
}

TEST(SteeringCombinerCopy, CopiesOwnTheirChildrenAndDeleteCleanly)
{
    RegisterAITypes();
    auto* blended = new BlendedSteering;
    blended->divisor = 2.0f;
    auto* leaf = Fixed(Vec4(2.0f, 0.0f, 0.0f, 0.0f));
    blended->AddBehavior(leaf, 1.0f);
    auto* nested = new PrioritizedSteering(5.0f);
    nested->AddBehavior(Fixed(Vec4(0.0f, 0.0f, 4.0f, 0.0f)), 1.0f);
    blended->AddBehavior(nested, 1.0f);

    // Through the record, as data copies it, and in C++.
    const MetaNotPOD* ops = MetaRegistry::Instance().Find("BlendedSteering")->GetOps();
    auto* byRecord = static_cast<BlendedSteering*>(ops->Copy(blended));
    ASSERT_NE(byRecord, nullptr);
    BlendedSteering byValue(*blended);
    ASSERT_EQ(byRecord->behaviors.size(), 2u);
    EXPECT_NE(byRecord->behaviors[0].behavior, leaf);
    EXPECT_NE(byValue.behaviors[0].behavior, leaf);
    EXPECT_NE(byRecord->behaviors[1].behavior, nested);
    auto* nestedCopy = dynamic_cast<PrioritizedSteering*>(byRecord->behaviors[1].behavior);
    ASSERT_NE(nestedCopy, nullptr);
    EXPECT_NE(nestedCopy->behaviors[0].behavior, nested->behaviors[0].behavior);

    // The original goes first; the copies still compute what it did.
    SteeringOutput original;
    blended->Calculate(original);
    delete blended;
    SteeringOutput copied;
    byRecord->Calculate(copied);
    ExpectVec(copied.linear, original.linear.x, original.linear.y, original.linear.z);
    ExpectVec(copied.linear, 1.0f, 0.0f, 2.0f);

    // Assignment replaces the children with copies of the other's.
    BlendedSteering assigned;
    assigned.AddBehavior(Fixed(Vec4(9.0f, 9.0f, 9.0f, 0.0f)), 1.0f);
    assigned = byValue;
    SteeringOutput viaAssigned;
    assigned.Calculate(viaAssigned);
    ExpectVec(viaAssigned.linear, 1.0f, 0.0f, 2.0f);
    ops->Delete(byRecord);
}

} // namespace
} // namespace quellor::test
