// Type records, the registry, built-in records, per-type operations and boxed values.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <tinyxml.h>

#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "tests/engine/reflection/ReflectionFixtures.h"

using namespace quellor;
using namespace quellor::fixtures;

namespace {

std::unique_ptr<MetaNotPOD> NoOps()
{
    return nullptr;
}

} // namespace

TEST(Registry, FirstRecordOfANameWinsAndLaterOnesStayOut)
{
    Meta* first = Meta::Create("Duplicate", 4, NoOps());
    Meta* second = Meta::Create("Duplicate", 8, NoOps());
    ASSERT_NE(first, second);
    EXPECT_EQ(MetaRegistry::Instance().Find("Duplicate"), first);
    EXPECT_EQ(MetaRegistry::Instance().Find("Duplicate")->GetSize(), 4u);
    EXPECT_EQ(MetaRegistry::Instance().Find("Missing"), nullptr);
}

TEST(Registry, NullBasesAreSkippedInOrder)
{
    Meta* b = Meta::Create("BaseB", 4, NoOps());
    Meta* c = Meta::Create("BaseC", 4, NoOps());
    Meta* one = Meta::Create("OnlyB", 4, NoOps(), nullptr, b, nullptr);
    ASSERT_EQ(one->GetBases().size(), 1u);
    EXPECT_EQ(one->GetBases()[0], b);
    Meta* two = Meta::Create("CThenB", 4, NoOps(), c, nullptr, b);
    ASSERT_EQ(two->GetBases().size(), 2u);
    EXPECT_EQ(two->GetBases()[0], c);
    EXPECT_EQ(two->GetBases()[1], b);
    EXPECT_TRUE(two->IsA(b));
    EXPECT_FALSE(b->IsA(two));
}

TEST(Registry, TablesKeepTheFirstEntryOfAName)
{
    Meta* record = Meta::Create("Tables", 4, NoOps());
    Meta* intRecord = MetaOf<int>();
    Member* first = record->AddMember(std::make_unique<Member>(intRecord, 0u, "m_value"));
    Member* kept = record->AddMember(std::make_unique<Member>(MetaOf<float>(), 0u, "m_value"));
    EXPECT_EQ(kept, first);
    EXPECT_EQ(record->GetMember("m_value")->GetType(), intRecord);
    EXPECT_EQ(record->GetMember("m_other"), nullptr);

    int a = 1;
    int b = 2;
    record->AddStaticMember("ID", &a, intRecord);
    record->AddStaticMember("ID", &b, intRecord);
    ASSERT_NE(record->GetStaticMember("ID"), nullptr);
    EXPECT_EQ(record->GetStaticMember("ID")->Value(), &a);
    EXPECT_FALSE(record->GetStaticMember("ID")->Owns());
    EXPECT_EQ(record->GetStaticMember("Other"), nullptr);

    Function* method = record->AddMethod(Function::Bind(&Shape::Tag), "Tag");
    EXPECT_EQ(record->AddMethod(Function::Bind(&Shape::Sides), "Tag"), method);
    EXPECT_EQ(record->GetMethod("Tag"), method);
}

TEST(Registry, CppTypesMapToTheirBuiltinRecords)
{
    // The names and sizes of the built-in records are held by the registry census.
    RegisterEngineTypes();
    EXPECT_EQ(MetaOf<int>(), MetaRegistry::Instance().Find("int"));
    EXPECT_EQ(MetaOf<std::string>(), MetaRegistry::Instance().Find("string"));
    EXPECT_EQ(MetaOf<signed char>(), MetaOf<char>());
    EXPECT_EQ(MetaOf<Mode>(), MetaRegistry::Instance().Find("EnemyType"));
}

TEST(Declaration, RecordIsBuiltOnFirstUseAfterItsBase)
{
    EXPECT_EQ(MetaRegistry::Instance().Find("Square"), nullptr);
    EXPECT_EQ(MetaRegistry::Instance().Find("Shape"), nullptr);
    Meta* square = Square::StaticMeta();
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->GetName(), "Square");
    EXPECT_EQ(square->GetSize(), sizeof(Square));
    ASSERT_EQ(square->GetBases().size(), 1u);
    EXPECT_EQ(square->GetBases()[0], MetaRegistry::Instance().Find("Shape"));
    EXPECT_EQ(MetaRegistry::Instance().Find("Square"), square);
    EXPECT_TRUE(square->IsFilled());

    Square object;
    const Shape& asShape = object;
    EXPECT_EQ(asShape.GetMeta(), square);
    EXPECT_EQ(Shape().GetMeta(), Shape::StaticMeta());
    EXPECT_EQ(MetaOf<Square>(), square);
}

TEST(Declaration, RegistrarsMayNameEachOther)
{
    Meta* node = Node::StaticMeta();
    Meta* other = Other::StaticMeta();
    ASSERT_NE(node->GetMethod("GetOther"), nullptr);
    ASSERT_NE(other->GetMethod("GetNode"), nullptr);
    EXPECT_EQ(node->GetMethod("GetOther")->GetReturnType(), other);
    EXPECT_EQ(other->GetMethod("GetNode")->GetReturnType(), node);
    EXPECT_TRUE(node->IsFilled());
    EXPECT_TRUE(other->IsFilled());
}

TEST(Declaration, MembersAreNamedAfterTheirFieldsAndCarryTheirBindings)
{
    Meta* settings = Settings::StaticMeta();
    EXPECT_EQ(settings->GetMembers().size(), 7u);
    Member* narrow = settings->GetMember("m_narrowA");
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(narrow->GetType(), MetaOf<unsigned char>());
    ASSERT_NE(narrow->GetSetter(), nullptr);
    // The method table and the member hold separate bindings of the same method.
    ASSERT_NE(settings->GetMethod("SetNarrow"), nullptr);
    EXPECT_NE(settings->GetMethod("SetNarrow"), narrow->GetSetter());
    EXPECT_EQ(settings->GetMember("m_narrowB")->GetSetter(), nullptr);
    EXPECT_EQ(settings->GetMember("m_mode")->GetType(), MetaOf<Mode>());

    Settings object;
    EXPECT_EQ(narrow->Address(&object), &object.m_narrowA);
    EXPECT_EQ(settings->GetMember("m_ratio")->Address(&object), &object.m_ratio);

    Meta* shape = Shape::StaticMeta();
    EXPECT_NE(shape->GetMember("m_tag")->GetGetter(), nullptr);
    EXPECT_EQ(shape->GetMember("m_label")->GetGetter(), nullptr);
    EXPECT_NE(shape->GetMember("m_label")->GetSetter(), nullptr);
}

TEST(Declaration, SecondBaseMembersAndBaseCastsAreExact)
{
    Gadget gadget;
    gadget.m_count = 7;
    Meta* gadgetRecord = Gadget::StaticMeta();
    EXPECT_EQ(gadgetRecord->GetMember("m_count")->Address(&gadget), &gadget.m_count);

    Flipped flipped;
    Meta* flippedRecord = Flipped::StaticMeta();
    Meta* shape = Shape::StaticMeta();
    Shape* asShape = &flipped;
    ASSERT_NE(static_cast<void*>(asShape), static_cast<void*>(&flipped));
    EXPECT_EQ(flippedRecord->CastTo(&flipped, shape), static_cast<void*>(asShape));
    EXPECT_EQ(flippedRecord->CastFrom(asShape, shape), static_cast<void*>(&flipped));
    EXPECT_EQ(flippedRecord->CastTo(&flipped, Settings::StaticMeta()), nullptr);
}

TEST(Operations, VariantsCreateAndCopyAsDeclared)
{
    MetaNotPOD* full = Square::StaticMeta()->GetOps();
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(full->CanCreate());
    EXPECT_TRUE(full->CanCopy());
    Square source;
    source.m_tag = 9;
    void* copy = full->Copy(&source);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(static_cast<Square*>(copy)->m_tag, 9);
    full->Delete(copy);
    void* fresh = full->New();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(static_cast<Square*>(fresh)->m_tag, 0);
    full->Delete(fresh);

    MetaNotPOD* noCopy = Gadget::StaticMeta()->GetOps();
    Gadget gadget;
    EXPECT_EQ(noCopy->Copy(&gadget), nullptr);
    void* made = noCopy->New();
    EXPECT_NE(made, nullptr);
    noCopy->Delete(made);

    MetaNotPOD* neither = Fixed::StaticMeta()->GetOps();
    Fixed fixed(3);
    EXPECT_EQ(neither->New(), nullptr);
    EXPECT_EQ(neither->Copy(&fixed), nullptr);
    EXPECT_FALSE(neither->CanCreate());
    EXPECT_FALSE(neither->CanCopy());
    neither->Delete(nullptr);
}

TEST(Boxes, OwningAndNonOwningBoxes)
{
    int value = 5;
    {
        Variable view(&value, false);
        EXPECT_EQ(view.GetType(), MetaOf<int>());
        EXPECT_FALSE(view.Owns());
        EXPECT_EQ(view.Value(), &value);
    }
    EXPECT_EQ(value, 5);

    auto owner = std::make_unique<Variable>(&value, true);
    ASSERT_TRUE(owner->Owns());
    ASSERT_NE(owner->Value(), &value);
    value = 6;
    long long read = 0;
    ASSERT_TRUE(owner->ReadInteger(read));
    EXPECT_EQ(read, 5);

    Variable copy(*owner);
    EXPECT_FALSE(copy.Owns());
    EXPECT_EQ(copy.Value(), owner->Value());
    Variable assigned;
    assigned = *owner;
    EXPECT_FALSE(assigned.Owns());
    owner.reset();

    // An owning string box frees its string (the leak checker fails the test otherwise).
    std::string text(200, 'x');
    Variable stringOwner(&text, true);
    ASSERT_TRUE(stringOwner.Owns());
    EXPECT_EQ(*static_cast<std::string*>(stringOwner.Value()), text);
    EXPECT_NE(stringOwner.Value(), &text);

    // An owning class box copies and frees through the record's operations.
    Square square;
    square.m_label = std::string(100, 'y');
    Variable squareOwner(&square, true);
    ASSERT_TRUE(squareOwner.Owns());
    EXPECT_EQ(static_cast<Square*>(squareOwner.Value())->m_label, square.m_label);
    // A class that cannot be copied gives an empty box rather than a shallow one.
    Gadget gadget;
    Variable gadgetCopy(&gadget, true);
    EXPECT_FALSE(gadgetCopy.Owns());
    EXPECT_EQ(gadgetCopy.Value(), nullptr);
}

TEST(Boxes, IndirectBoxesReachThroughThePointer)
{
    Settings settings;
    Settings* pointer = &settings;
    Variable indirect(Settings::StaticMeta(), &pointer, false, true);
    EXPECT_EQ(indirect.Value(), &settings);
    EXPECT_EQ(indirect.MemberAddress("m_ratio"), &settings.m_ratio);
    EXPECT_EQ(indirect.MemberAddress("m_missing"), nullptr);
    EXPECT_EQ(Variable().Value(), nullptr);
}

TEST(Boxes, CreatedBuiltinValuesAreConstructedObjects)
{
    void* number = Variable::CreateValue(MetaOf<float>());
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(*static_cast<float*>(number), 0.0f);
    Variable::DestroyValue(MetaOf<float>(), number);

    void* text = Variable::CreateValue(MetaOf<std::string>());
    ASSERT_NE(text, nullptr);
    static_cast<std::string*>(text)->assign(64, 'z');
    Variable::DestroyValue(MetaOf<std::string>(), text);

    EXPECT_EQ(Variable::CreateValue(MetaOf<TiXmlElement>()), nullptr);
    EXPECT_EQ(Variable::CreateValue(Fixed::StaticMeta()), nullptr);
}
