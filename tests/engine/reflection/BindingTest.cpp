// Method bindings: calling by name with boxed arguments, result boxing and refused calls.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/reflection/MetaRegistrar.h"
#include "tests/engine/reflection/ReflectionFixtures.h"

using namespace quellor;
using namespace quellor::fixtures;

namespace {

using Result = std::unique_ptr<Variable>;

Function* MethodOf(Meta* record, const char* name)
{
    Function* f = record->GetMethod(name);
    EXPECT_NE(f, nullptr) << name;
    return f;
}

// Calls `f` on `object` (boxed by its static record) and returns what it gave back.
template <class T, class... Args>
Result Call(Function* f, T* object, Args*... args)
{
    f->PushArgument(Variable(object, false));
    (f->PushArgument(Variable(args, false)), ...);
    return Result(f->Invoke());
}

// Runs `body` and returns what it printed on standard output.
template <class Body>
std::string Printed(Body body)
{
    testing::internal::CaptureStdout();
    body();
    return testing::internal::GetCapturedStdout();
}

} // namespace

TEST(Binding, InvokeEmptiesThePendingListAndVoidGivesNull)
{
    Shape shape;
    Function* tag = MethodOf(Shape::StaticMeta(), "Tag");
    tag->PushArgument(Variable(&shape, false));
    EXPECT_EQ(tag->GetPendingCount(), 1u);
    Result noArguments(tag->Invoke());
    EXPECT_EQ(tag->GetPendingCount(), 0u);
    ASSERT_NE(noArguments, nullptr);

    Function* setTag = MethodOf(Shape::StaticMeta(), "SetTag");
    int value = 12;
    Result none = Call(setTag, &shape, &value);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(setTag->GetPendingCount(), 0u);
    EXPECT_EQ(shape.m_tag, 12);
}

TEST(Binding, ReturnTypesComeFromTheCppTypes)
{
    Meta* shape = Shape::StaticMeta();
    Function* scaled = MethodOf(shape, "Scaled");
    EXPECT_EQ(scaled->GetReturnType(), MetaOf<float>());
    ASSERT_EQ(scaled->GetArgumentTypes().size(), 1u);
    EXPECT_EQ(scaled->GetArgumentTypes()[0], MetaOf<float>());
    EXPECT_EQ(scaled->GetObjectType(), shape);
    EXPECT_EQ(MethodOf(shape, "SetTag")->GetReturnType(), nullptr);
    EXPECT_EQ(MethodOf(shape, "Self")->GetReturnType(), shape);
    EXPECT_EQ(MethodOf(shape, "Label")->GetReturnType(), MetaOf<std::string>());
}

TEST(Binding, NumbersReturnedByValueAreOwnedCopies)
{
    Shape shape;
    shape.m_tag = 3;
    Result tag = Call(MethodOf(Shape::StaticMeta(), "Tag"), &shape);
    ASSERT_NE(tag, nullptr);
    EXPECT_TRUE(tag->Owns());
    EXPECT_EQ(tag->GetType(), MetaOf<int>());
    shape.m_tag = 40;
    EXPECT_EQ(*static_cast<int*>(tag->Value()), 3);

    float factor = 0.5f;
    Result scaled = Call(MethodOf(Shape::StaticMeta(), "Scaled"), &shape, &factor);
    ASSERT_NE(scaled, nullptr);
    EXPECT_FLOAT_EQ(*static_cast<float*>(scaled->Value()), 20.0f);

    Result copy = Call(MethodOf(Shape::StaticMeta(), "LabelCopy"), &shape);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->Owns());
    shape.m_label = "changed";
    EXPECT_EQ(*static_cast<std::string*>(copy->Value()), "shape");
}

TEST(Binding, ReturnedReferencesAliasTheObjectAndStringArgumentsAreCopied)
{
    Shape shape;
    Result label = Call(MethodOf(Shape::StaticMeta(), "Label"), &shape);
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->Owns());
    EXPECT_EQ(label->Value(), &shape.m_label);
    std::string text = "circle";
    Call(MethodOf(Shape::StaticMeta(), "SetLabel"), &shape, &text);
    EXPECT_EQ(*static_cast<std::string*>(label->Value()), "circle");
    EXPECT_EQ(text, "circle");
}

TEST(Binding, PointerResultsAreTypedByTheObjectsOwnRecord)
{
    Square square;
    Function* self = MethodOf(Shape::StaticMeta(), "Self");
    Shape* asShape = &square;
    Result result = Call(self, asShape);
    ASSERT_NE(result, nullptr);
    EXPECT_FALSE(result->Owns());
    EXPECT_EQ(result->GetType(), Square::StaticMeta());
    EXPECT_EQ(result->Value(), static_cast<void*>(&square));

    // The box can be handed on to a method of the dynamic class.
    Function* corners = MethodOf(Square::StaticMeta(), "Corners");
    corners->PushArgument(*result);
    Result four(corners->Invoke());
    ASSERT_NE(four, nullptr);
    EXPECT_EQ(*static_cast<int*>(four->Value()), 4);

    // A base at a non-zero offset: the box holds the address of the whole object.
    Flipped flipped;
    flipped.m_count = 17;
    Result typed = Call(self, static_cast<Shape*>(&flipped));
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->GetType(), Flipped::StaticMeta());
    EXPECT_EQ(typed->Value(), static_cast<void*>(&flipped));
    Function* count = MethodOf(Flipped::StaticMeta(), "Count");
    count->PushArgument(*typed);
    Result seventeen(count->Invoke());
    ASSERT_NE(seventeen, nullptr);
    EXPECT_EQ(*static_cast<int*>(seventeen->Value()), 17);
}

TEST(Binding, NullPointerResultIsAnEmptyBoxOfTheDeclaredRecord)
{
    Shape shape;
    Result result = Call(MethodOf(Shape::StaticMeta(), "Nothing"), &shape);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->GetType(), Shape::StaticMeta());
    EXPECT_EQ(result->Value(), nullptr);

    // Handing the empty box on as an object is refused, not dereferenced.
    Function* tag = MethodOf(Shape::StaticMeta(), "Tag");
    tag->PushArgument(*result);
    std::string printed = Printed([&] { EXPECT_EQ(tag->Invoke(), nullptr); });
    EXPECT_NE(printed.find("Warning: "), std::string::npos);
}

TEST(Binding, VirtualOverridesAndSecondBaseMethodsReachTheRightObject)
{
    Function* sides = MethodOf(Shape::StaticMeta(), "Sides");
    Square square;
    Gadget gadget;
    Flipped flipped;
    for (auto [object, expected] : {std::pair<Shape*, int>{&square, 4}, {&gadget, 3}, {&flipped, 5}}) {
        Result result = Call(sides, object);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(*static_cast<int*>(result->Value()), expected);
    }

    // Add belongs to Gadget's second base: `this` must move to the Counter part.
    Function* add = MethodOf(Gadget::StaticMeta(), "Add");
    int amount = 6;
    EXPECT_EQ(Call(add, &gadget, &amount), nullptr);
    EXPECT_EQ(gadget.m_count, 6);
    EXPECT_EQ(gadget.m_tag, 0);

    // Shape's methods on a Flipped box must move `this` to the Shape part.
    Function* setTag = MethodOf(Shape::StaticMeta(), "SetTag");
    int tag = 21;
    setTag->PushArgument(Variable(&flipped, false));
    setTag->PushArgument(Variable(&tag, false));
    EXPECT_EQ(setTag->Invoke(), nullptr);
    EXPECT_EQ(flipped.m_tag, 21);
    EXPECT_EQ(flipped.m_count, 0);
}

TEST(Binding, WrongCountOrTypesAreRefusedWithAWarning)
{
    Shape shape;
    shape.m_tag = 1;
    Function* setTag = MethodOf(Shape::StaticMeta(), "SetTag");
    Settings settings;
    std::string text = "nine";
    float number = 2.5f;

    struct Case {
        const char* what;
        std::function<void()> push;
    };
    const Case cases[] = {
        {"object only", [&] { setTag->PushArgument(Variable(&shape, false)); }},
        {"too many",
         [&] {
             int a = 1;
             setTag->PushArgument(Variable(&shape, false));
             setTag->PushArgument(Variable(&a, true));
             setTag->PushArgument(Variable(&a, true));
         }},
        {"wrong object",
         [&] {
             int a = 1;
             setTag->PushArgument(Variable(&settings, false));
             setTag->PushArgument(Variable(&a, true));
         }},
        {"string for int",
         [&] {
             setTag->PushArgument(Variable(&shape, false));
             setTag->PushArgument(Variable(&text, false));
         }},
        {"float for int",
         [&] {
             setTag->PushArgument(Variable(&shape, false));
             setTag->PushArgument(Variable(&number, false));
         }},
        {"untyped",
         [&] {
             setTag->PushArgument(Variable(&shape, false));
             setTag->PushArgument(Variable());
         }},
    };
    for (const Case& c : cases) {
        std::string printed = Printed([&] {
            c.push();
            EXPECT_EQ(setTag->Invoke(), nullptr) << c.what;
        });
        EXPECT_EQ(printed.rfind("Warning: ", 0), 0u) << c.what << ": " << printed;
        EXPECT_EQ(setTag->GetPendingCount(), 0u) << c.what;
        EXPECT_EQ(shape.m_tag, 1) << c.what;
    }
    // Nothing pushed at all.
    EXPECT_EQ(setTag->Invoke(), nullptr);
}

TEST(Binding, ArgumentsAreConvertedByValueWithRangeChecks)
{
    Settings settings;
    Meta* record = Settings::StaticMeta();

    // int → bool is "not zero".
    int two = 2;
    EXPECT_EQ(Call(MethodOf(record, "SetOn"), &settings, &two), nullptr);
    EXPECT_TRUE(settings.m_on);
    int zero = 0;
    Call(MethodOf(record, "SetOn"), &settings, &zero);
    EXPECT_FALSE(settings.m_on);

    // int → unsigned char within range, refused outside it.
    int four = 4;
    Call(MethodOf(record, "SetNarrow"), &settings, &four);
    EXPECT_EQ(settings.m_narrowA, 4);
    int big = 300;
    int negative = -1;
    std::string printed = Printed([&] {
        Call(MethodOf(record, "SetNarrow"), &settings, &big);
        Call(MethodOf(record, "SetNarrow"), &settings, &negative);
    });
    EXPECT_EQ(settings.m_narrowA, 4);
    EXPECT_NE(printed.find("Warning: "), std::string::npos);

    // int → short range-checked too; a bool box reads as 0 or 1.
    int shortMax = 32767;
    Call(MethodOf(record, "SetShort"), &settings, &shortMax);
    EXPECT_EQ(settings.m_short, 32767);
    int shortOver = 32768;
    Printed([&] { Call(MethodOf(record, "SetShort"), &settings, &shortOver); });
    EXPECT_EQ(settings.m_short, 32767);
    bool yes = true;
    Call(MethodOf(record, "SetShort"), &settings, &yes);
    EXPECT_EQ(settings.m_short, 1);

    // int → enumeration, and the enumeration's own record.
    int high = 2;
    Call(MethodOf(record, "SetMode"), &settings, &high);
    EXPECT_EQ(settings.m_mode, Mode::High);
    Mode low = Mode::Low;
    Call(MethodOf(record, "SetMode"), &settings, &low);
    EXPECT_EQ(settings.m_mode, Mode::Low);

    // int → float.
    Shape shape;
    shape.m_tag = 3;
    int three = 3;
    Result nine = Call(MethodOf(Shape::StaticMeta(), "Scaled"), &shape, &three);
    ASSERT_NE(nine, nullptr);
    EXPECT_FLOAT_EQ(*static_cast<float*>(nine->Value()), 9.0f);
}

namespace {

// No record of its own: boxed with its base's record, seen as that base.
struct Unrecorded : Counter, Shape {};

} // namespace

TEST(Binding, AClassWithoutItsOwnRecordIsBoxedAsItsRecordedBase)
{
    Unrecorded object;
    Variable box(&object, false);
    EXPECT_EQ(box.GetType(), Shape::StaticMeta());
    EXPECT_EQ(box.Value(), static_cast<void*>(static_cast<Shape*>(&object)));
    int tag = 9;
    Function* setTag = MethodOf(Shape::StaticMeta(), "SetTag");
    setTag->PushArgument(box);
    setTag->PushArgument(Variable(&tag, false));
    EXPECT_EQ(setTag->Invoke(), nullptr);
    EXPECT_EQ(object.m_tag, 9);
    EXPECT_EQ(object.m_count, 0);
}
