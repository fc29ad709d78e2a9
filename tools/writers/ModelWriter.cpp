#include "tools/writers/ModelWriter.h"

#include "tools/writers/FileWriting.h"

#include <cstring>

namespace tarsel::tools {

ZOR::Skeleton::Node MakeNode(std::int32_t parent, const ZOR::float4x4& bindLocal)
{
    ZOR::Skeleton::Node node;
    node.parent = parent;
    node.reserved = 0;
    node.bindLocal = bindLocal;
    node.local = bindLocal;
    node.global = bindLocal;
    return node;
}

std::string WriteModel(const ModelDescription& model)
{
    std::string out;
    char magic[12] = {};
    std::memcpy(magic, "ZOR_MODEL", 10);
    out.append(magic, sizeof(magic));
    Append(out, static_cast<std::uint32_t>(model.skinned ? 1 : 0));
    Append(out, static_cast<std::uint32_t>(model.vertices.size()));
    Append(out, static_cast<std::uint32_t>(model.skinned ? model.nodes.size() : 0));
    Append(out, static_cast<std::uint32_t>(model.skinned ? model.bones.size() : 0));
    Append(out, std::uint32_t{0});

    for (const MeshVertex& v : model.vertices) {
        Append(out, v.position);
        Append(out, v.normal);
        Append(out, v.tangent);
        Append(out, v.bitangent);
        Append(out, v.uv);
        if (model.skinned) {
            Append(out, v.boneIds);
            Append(out, v.weights);
        }
    }
    if (!model.skinned)
        return out;

    // Globals follow from the bind locals; parents come before their children.
    std::vector<ZOR::Skeleton::Node> nodes = model.nodes;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        nodes[i].reserved = 0;
        nodes[i].local = nodes[i].bindLocal;
        const std::int32_t parent = nodes[i].parent;
        nodes[i].global = (parent >= 0 && static_cast<std::size_t>(parent) < i)
                              ? nodes[static_cast<std::size_t>(parent)].global * nodes[i].bindLocal
                              : nodes[i].bindLocal;
    }
    for (const auto& node : nodes)
        Append(out, node);
    for (const auto& bone : model.bones)
        Append(out, bone);
    Append(out, static_cast<std::uint32_t>(model.names.size()));
    for (const std::string& name : model.names) {
        Append(out, static_cast<std::uint32_t>(name.size() + 1));
        out.append(name);
        out.push_back('\0');
    }
    return out;
}

} // namespace tarsel::tools
