// Reading a level-shaped document: (a) TinyXML's parse alone, (b) the parse plus creating
// every entity, reading each component with ReadVariable and adding it under its "ID", and
// (c) the same level written into a scanned folder and loaded by name with
// ObjectSystem::LoadLevel, beside (d) TinyXML's parse of that file's text the way the loader
// parses it, which gives TinyXML's share of (c).
// `--smoke` reads 50 entities once.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "engine/Component.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/ReadVariable.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

// Two components beside Transform2D: a nested Vec4 and an int; a bool set through a setter
// and a string.
class BenchBody : public Component {
    QUELLOR_REFLECT_KEYED(BenchBody)
    Vec4 m_offset;
    int m_count = 0;
};

class BenchTag : public Component {
    QUELLOR_REFLECT_KEYED(BenchTag)
    void SetVisible(bool visible) { m_visible = visible; }
    bool m_visible = false;
    std::string m_label;
};

QUELLOR_RECORD(BenchBody, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_offset));
    reg.Member(QL_FIELD(m_count));
}

QUELLOR_RECORD(BenchTag, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_visible)).Setter(QL_METHOD(SetVisible));
    reg.Member(QL_FIELD(m_label));
}

} // namespace quellor

namespace {

using Clock = std::chrono::steady_clock;

std::string Float(const char* member, float value)
{
    return std::string("<") + member + "><float value=\"" + std::to_string(value) + "\"/></" + member + ">";
}

std::string MakeLevel(int entities)
{
    std::string xml = "<Level>\n";
    for (int i = 0; i < entities; ++i) {
        const std::string name = "entity" + std::to_string(i);
        const float f = static_cast<float>(i);
        xml += "<" + name + "><Components>";
        xml += "<Transform2D>" + Float("m_x", f) + Float("m_y", -f) + Float("m_rotation", 0.5f) +
               Float("m_scaleX", 2.0f) + Float("m_scaleY", 3.0f) + "</Transform2D>";
        xml += "<BenchBody><m_offset><Vec4>" + Float("x", f) + Float("y", 1.0f) + Float("z", 2.0f) + Float("w", 1.0f) +
               "</Vec4></m_offset><m_count><int value=\"" + std::to_string(i) + "\"/></m_count></BenchBody>";
        xml += "<BenchTag><m_visible><bool value=\"1\"/></m_visible><m_label><string value=\"label " + name +
               "\"/></m_label></BenchTag>";
        xml += "</Components></" + name + ">\n";
    }
    return xml + "</Level>\n";
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// (a): the parse alone.
double TimeParse(const std::string& xml)
{
    const auto start = Clock::now();
    TiXmlDocument document;
    document.Parse(xml.c_str());
    const auto end = Clock::now();
    if (document.Error() || !document.RootElement()) {
        std::printf("level_read: the generated document did not parse: %s\n", document.ErrorDesc());
        std::exit(1);
    }
    return Milliseconds(end - start);
}

// (b): the parse, then every entity with its components. Returns the components added.
double TimeLoad(const std::string& xml, int& added)
{
    using namespace quellor;
    Engine* engine = Engine::Instance();
    Meta* component = Component::StaticMeta();
    added = 0;

    const auto start = Clock::now();
    TiXmlDocument document;
    document.Parse(xml.c_str());
    for (TiXmlElement* e = document.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
        Entity* entity = engine->CreateEntity(e->Value(), "default");
        TiXmlElement* wrapper = e->FirstChildElement();
        for (TiXmlElement* c = wrapper ? wrapper->FirstChildElement() : nullptr; c; c = c->NextSiblingElement()) {
            std::unique_ptr<Variable> read(ReadVariable(c, nullptr));
            if (!read) {
                continue;
            }
            Meta* type = read->GetType();
            Variable* id = type->GetStaticMember("ID");
            auto* object = static_cast<Component*>(type->CastTo(read->Value(), component));
            if (!id || !object) {
                Variable::DestroyValue(type, read->Value());
                continue;
            }
            entity->AddComponent(*static_cast<std::string*>(id->Value()), object, true);
            ++added;
        }
    }
    const auto end = Clock::now();

    engine->DestroyAllEntities("default");
    engine->Update(0.0f);
    return Milliseconds(end - start);
}

// (c): LoadLevel by name from a scanned working directory, into a fresh engine each time.
double TimeLoadLevel(int entities, int& loaded)
{
    using namespace quellor;
    Engine* engine = Engine::Instance();
    engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
    auto* objects = static_cast<ObjectSystem*>(engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default"));

    const auto start = Clock::now();
    objects->LoadLevel("bench.ql");
    const auto end = Clock::now();

    loaded = 0;
    for (int i = 0; i < entities; ++i) {
        Entity* entity = engine->GetEntity("entity" + std::to_string(i), "default");
        loaded += entity && entity->HasComponent("Transform2D") && entity->HasComponent("BenchBody") &&
                  entity->HasComponent("BenchTag");
    }
    Engine::DestroyInstance();
    return Milliseconds(end - start);
}

// (d): TinyXML's parse of the file's text, one byte per character as the loader reads it.
double TimeLoaderParse(const std::string& xml)
{
    const auto start = Clock::now();
    TiXmlDocument document;
    document.Parse(xml.c_str(), nullptr, TIXML_ENCODING_LEGACY);
    const auto end = Clock::now();
    if (document.Error() || !document.RootElement()) {
        std::printf("level_read: the generated document did not parse: %s\n", document.ErrorDesc());
        std::exit(1);
    }
    return Milliseconds(end - start);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    bool smoke = false;
    for (int i = 1; i < argc; ++i) {
        smoke = smoke || std::strcmp(argv[i], "--smoke") == 0;
    }
    const int entities = smoke ? 50 : 5000;
    const int runs = smoke ? 1 : 9;

    quellor::RegisterEngineTypes();
    quellor::MetaOf<quellor::BenchBody>();
    quellor::MetaOf<quellor::BenchTag>();
    const std::string xml = MakeLevel(entities);

    std::vector<double> parse;
    std::vector<double> load;
    int added = 0;
    for (int run = 0; run < runs; ++run) {
        parse.push_back(TimeParse(xml));
        load.push_back(TimeLoad(xml, added));
    }
    quellor::Engine::DestroyInstance();
    if (added != entities * 3) {
        std::printf("level_read: %d components added, expected %d\n", added, entities * 3);
        return 1;
    }

    // The same level as a file in a scanned folder, loaded by name.
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "tarsel-bench-level-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::printf("level_read: cannot create a temporary folder\n");
        return 1;
    }
    const fs::path folder = pattern;
    fs::create_directories(folder / "levels");
    std::ofstream(folder / "levels/bench.ql", std::ios::binary) << xml;
    const fs::path previous = fs::current_path();
    fs::current_path(folder);
    std::vector<double> fileLoad;
    std::vector<double> loaderParse;
    int loaded = 0;
    for (int run = 0; run < runs; ++run) {
        fileLoad.push_back(TimeLoadLevel(entities, loaded));
        loaderParse.push_back(TimeLoaderParse(xml));
    }
    fs::current_path(previous);
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (loaded != entities) {
        std::printf("level_read: %d entities loaded from the file, expected %d\n", loaded, entities);
        return 1;
    }

    const double a = Median(parse);
    const double b = Median(load);
    std::printf("level_read: %d entities, %zu bytes, median of %d runs\n", entities, xml.size(), runs);
    std::printf("  (b) parse + create + read + add: %.3f ms\n", b);
    std::printf("  (a) parse alone:                 %.3f ms\n", a);
    std::printf("  (a)/(b): %.3f\n", b > 0 ? a / b : 0.0);
    const double c = Median(fileLoad);
    const double d = Median(loaderParse);
    std::printf("  (c) LoadLevel from a scanned folder: %.3f ms\n", c);
    std::printf("  (d) TinyXML's parse within it:       %.3f ms\n", d);
    std::printf("  TinyXML's share of LoadLevel: %.1f%%\n", c > 0 ? 100.0 * d / c : 0.0);
    return 0;
}
