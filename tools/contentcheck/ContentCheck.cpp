#include "tools/contentcheck/ContentCheck.h"

#include "engine/reflection/Member.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaRegistry.h"
#include "frontend/RegisterFrontendTypes.h"
#include "gameplay/AnimationClipNames.h"

#include <tinyxml.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>

namespace tarsel::tools {

namespace fs = std::filesystem;

namespace {

const char* const kGameFolders[] = {"platform", "renderer", "engine", "physics", "gameplay", "ai", "frontend", "tarsel"};
const char* const kTeams[] = {"red", "orange", "purple", "green"};
const char* const kExtensions = "ql|arch|mat|model|anim|pe|dds|ogg|bff|shape";

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every regular file below folder, sorted, so that reports come in a fixed order.
std::vector<fs::path> FilesBelow(const fs::path& folder)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        if (it->is_regular_file(error))
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

std::size_t LineOf(const std::string& text, std::size_t offset)
{
    return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// Where a name stands: the file, the element's line and its entity.
struct Place {
    std::string file;
    std::string entity;
    std::string At(const TiXmlElement* element) const
    {
        return file + ":" + std::to_string(element->Row()) + ": entity " + entity + ": ";
    }
};

// The reader's own walk (values nest no deeper than their types): every member element the
// value's type does not have, and every nested value whose tag is not its member's type.
void CheckValue(const TiXmlElement* value, const quellor::Meta* type, const Place& place, std::vector<std::string>& out,
                int depth)
{
    constexpr int kMaxDepth = 64;
    if (type->IsBuiltin() || depth > kMaxDepth)
        return;
    for (const TiXmlElement* child = value->FirstChildElement(); child; child = child->NextSiblingElement()) {
        const quellor::Member* member = type->GetMember(child->Value());
        if (!member) {
            out.push_back(place.At(child) + "no member " + child->Value() + " in " + type->Name());
            continue;
        }
        const TiXmlElement* nested = child->FirstChildElement();
        const quellor::Meta* memberType = member->GetType();
        if (!nested || memberType->IsBuiltin())
            continue;
        if (memberType->Name() != nested->Value()) {
            out.push_back(place.At(nested) + type->Name() + "." + member->GetName() + " holds a " + nested->Value() +
                          ", not a " + memberType->Name());
            continue;
        }
        CheckValue(nested, memberType, place, out, depth + 1);
    }
}

void CheckComponents(const TiXmlElement* parent, const Place& place, std::vector<std::string>& out)
{
    for (const TiXmlElement* component = parent ? parent->FirstChildElement() : nullptr; component;
         component = component->NextSiblingElement()) {
        const quellor::Meta* type = quellor::MetaRegistry::Instance().Find(component->Value());
        if (!type) {
            out.push_back(place.At(component) + "no class " + component->Value());
        } else if (!type->GetStaticMember("ID")) {
            out.push_back(place.At(component) + type->Name() + " is not a component");
        } else {
            CheckValue(component, type, place, out, 0);
        }
    }
}

// Every level and archetype below content, read and parsed once: one that does not parse goes
// into badXml (when given), and every class or member name the registry does not know into
// unknown.
void CheckDocuments(const fs::path& content, std::vector<std::string>* badXml, std::vector<std::string>& unknown)
{
    // Every library's classes, as the game registers them before it reads a file.
    quellor::RegisterFrontendTypes();
    for (const fs::path& path : FilesBelow(content)) {
        const bool level = path.extension() == ".ql";
        if (!level && path.extension() != ".arch")
            continue;
        TiXmlDocument document;
        document.Parse(ReadAll(path).c_str());
        const TiXmlElement* root = document.RootElement();
        const std::string file = path.lexically_relative(content).string();
        if (document.Error() || !root) {
            if (badXml)
                badXml->push_back("bad XML in " + file + ": " + (document.Error() ? document.ErrorDesc() : "no root element"));
            continue;
        }
        if (!level) {
            CheckComponents(root, {file, path.stem().string()}, unknown);
            continue;
        }
        // A level's entity holds its components in its first child, a wrapper of any name.
        for (const TiXmlElement* entity = root->FirstChildElement(); entity; entity = entity->NextSiblingElement())
            CheckComponents(entity->FirstChildElement(), {file, entity->Value()}, unknown);
    }
}

} // namespace

std::vector<std::string> UnknownNames(const fs::path& content)
{
    std::vector<std::string> out;
    CheckDocuments(content, nullptr, out);
    return out;
}

std::vector<NamedFile> NamesInSources(const fs::path& root)
{
    std::vector<NamedFile> names;
    const std::regex literal(std::string(R"re("([A-Za-z0-9][A-Za-z0-9_/.-]*\.(?:)re") + kExtensions + R"re())")re");
    for (const char* folder : kGameFolders)
        for (const fs::path& path : FilesBelow(root / folder)) {
            if (path.extension() != ".cpp" && path.extension() != ".h")
                continue;
            const std::string text = ReadAll(path);
            for (auto match = std::sregex_iterator(text.begin(), text.end(), literal); match != std::sregex_iterator(); ++match)
                names.push_back({(*match)[1].str(), path.lexically_relative(root).string() + ":" +
                                                        std::to_string(LineOf(text, static_cast<std::size_t>(match->position(0))))});
        }
    return names;
}

std::vector<NamedFile> ComposedNames(const fs::path& root)
{
    std::vector<NamedFile> names;
    const auto add = [&](const std::string& name, const char* source) { names.push_back({name, source}); };
    for (int set = 0; set < quellor::kClipSetCount; ++set)
        for (int direction = 0; direction < quellor::kClipDirectionCount; ++direction)
            for (int pitch = 0; pitch < quellor::kClipPitchCount; ++pitch)
                for (const bool blast : {false, true})
                    add(quellor::AnimationClipName(static_cast<quellor::ClipSet>(set), static_cast<quellor::ClipDirection>(direction),
                                                   static_cast<quellor::ClipPitch>(pitch), blast),
                        "composed: clip library");
    for (const char* name : quellor::DamageClipNames())
        add(name, "composed: damage clips");
    for (const char* team : kTeams) {
        const std::string t = team;
        for (const std::string& name : {"player_" + t, t + "_boid", t + "_portrait_bg", "single_tag_" + t, "team_tag_" + t,
                                        "char_select_" + t + "_title", "char_select_" + t + "_streak"})
            add(name + ".mat", "composed: team colours");
    }
    for (int p = 1; p <= 4; ++p)
        add("p" + std::to_string(p) + "_portrait_bg.mat", "composed: player portraits");
    for (int k = 0; k < 4; ++k)
        add("char_select_number_" + std::to_string(k) + ".mat", "composed: player numbers");
    for (int page = 1; page <= 8; ++page)
        add("credits_" + std::to_string(page) + ".mat", "composed: credits pages");
    for (const char* quality : {"low", "medium", "high", "ultra"})
        add(std::string("setting_") + quality + ".model", "composed: quality words");
    for (char digit = '0'; digit <= '9'; ++digit)
        add(std::string("num_") + digit + ".model", "composed: resolution digits");
    // The content system's cosmetic entries name a model and a material.
    const fs::path cosmetics = root / "frontend/content/ContentSystem.cpp";
    const std::string text = ReadAll(cosmetics);
    const std::regex pair(R"re("([a-z0-9_]+):([a-z0-9_]+)")re");
    for (auto match = std::sregex_iterator(text.begin(), text.end(), pair); match != std::sregex_iterator(); ++match) {
        const std::string source = "frontend/content/ContentSystem.cpp:" + std::to_string(LineOf(text, static_cast<std::size_t>(match->position(0))));
        names.push_back({(*match)[1].str() + ".model", source});
        names.push_back({(*match)[2].str() + ".mat", source});
    }
    return names;
}

std::vector<NamedFile> NamesInContent(const fs::path& content)
{
    std::vector<NamedFile> names;
    const std::regex texture(R"re((?:^|\n)(?:0|1|2|3|TEXTURE)=([^\r\n]+))re");
    const std::regex value(std::string(R"re(value="([^"]+\.(?:)re") + kExtensions + R"re())")re");
    for (const fs::path& path : FilesBelow(content)) {
        const std::string ext = path.extension().string();
        const std::regex* pattern = ext == ".mat" || ext == ".pe" ? &texture : ext == ".ql" || ext == ".arch" ? &value : nullptr;
        if (!pattern)
            continue;
        const std::string text = ReadAll(path);
        for (auto match = std::sregex_iterator(text.begin(), text.end(), *pattern); match != std::sregex_iterator(); ++match)
            if (!(*match)[1].str().empty())
                names.push_back({(*match)[1].str(), path.lexically_relative(content).string()});
    }
    return names;
}

CheckReport CheckContent(const fs::path& root, const fs::path& content)
{
    CheckReport report;
    std::map<std::string, std::vector<std::string>> byFileName;
    for (const fs::path& path : FilesBelow(content))
        byFileName[path.filename().string()].push_back(path.lexically_relative(content).string());
    for (const auto& [name, paths] : byFileName)
        if (paths.size() > 1)
            report.problems.push_back("the file name " + name + " is used twice: " + paths[0] + " and " + paths[1]);

    std::vector<NamedFile> names = NamesInSources(root);
    for (NamedFile& named : ComposedNames(root))
        names.push_back(std::move(named));
    for (NamedFile& named : NamesInContent(content))
        names.push_back(std::move(named));
    std::set<std::string> reported;
    for (const NamedFile& named : names) {
        const bool found = named.name.find('/') != std::string::npos ? fs::is_regular_file(content / named.name)
                                                                      : byFileName.count(named.name) != 0;
        if (!found && reported.insert(named.name).second)
            report.problems.push_back("missing " + named.name + " (named in " + named.source + ")");
    }

    // Bad XML comes first in the report, then the unknown names of the files that parse.
    std::vector<std::string> unknown;
    CheckDocuments(content, &report.problems, unknown);
    for (std::string& name : unknown)
        report.problems.push_back(std::move(name));
    return report;
}

} // namespace tarsel::tools
