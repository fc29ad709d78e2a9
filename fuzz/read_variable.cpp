// Parses arbitrary bytes as XML and reads the root element as a reflected value: once creating
// the value its tag names, and once into an existing object of several engine and fixture types.
#include <cstdint>
#include <memory>
#include <string>

#include <tinyxml.h>

#include "engine/ActionComponent.h"
#include "engine/Transform2D.h"
#include "engine/reflection/Mat4.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/ReadVariable.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "engine/reflection/Vec4.h"

// The reader tests' fixture types, so that the seeds (the tests' documents) reach them.
#include "tests/engine/reflection/EngineFixtures.cpp"
#include "tests/engine/reflection/ReflectionFixtures.cpp"

namespace {

// TinyXML parses recursively: larger inputs only measure the stack.
constexpr std::size_t kMaxInput = 16 * 1024;

bool Ready()
{
    quellor::fixtures::RegisterEngineFixtures();
    using namespace quellor::fixtures;
    for (quellor::Meta* record : {Shape::StaticMeta(), Square::StaticMeta(), Gadget::StaticMeta(),
                                  Flipped::StaticMeta(), Settings::StaticMeta(), Point::StaticMeta(),
                                  Holder::StaticMeta(), Custom::StaticMeta(), Sealed::StaticMeta(),
                                  Fixed::StaticMeta(), Node::StaticMeta(), Other::StaticMeta()}) {
        (void)record;
    }
    return true;
}

template <class T>
void ReadInto(TiXmlElement* root)
{
    T object;
    quellor::Variable target(&object, false);
    quellor::ReadVariable(root, &target);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = Ready();
    (void)ready;
    if (size > kMaxInput) {
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument document;
    document.Parse(text.c_str());
    TiXmlElement* root = document.RootElement();
    if (!root) {
        return 0;
    }

    std::unique_ptr<quellor::Variable> created(quellor::ReadVariable(root, nullptr));
    if (created) {
        created->SetOwns(true);
    }

    using namespace quellor::fixtures;
    ReadInto<Settings>(root);
    ReadInto<Holder>(root);
    ReadInto<Shape>(root);
    ReadInto<Gadget>(root);
    ReadInto<Custom>(root);
    ReadInto<quellor::Vec4>(root);
    ReadInto<quellor::Mat4>(root);
    ReadInto<ReadFixtureComponent>(root);
    ReadInto<quellor::Transform2D>(root);
    ReadInto<quellor::ActionComponent>(root);
    return 0;
}
