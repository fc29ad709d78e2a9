#pragma once
#include "renderer/math/float4x4.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ZOR {

// The bone hierarchy of a skinned model: nodes with their bind-pose and current transforms,
// bones that name the node driving them and their inverse bind matrix, and the node names.
// Nodes and bones are plain records copied straight from the model file.
class Skeleton {
public:
    struct Node {
        std::int32_t parent;   // parent node index; negative for a root
        std::uint32_t reserved;
        float4x4 bindLocal;    // bind-pose local transform
        float4x4 local;        // current local transform, written by the animation controller
        float4x4 global;       // current global transform, written by the animation controller
    };

    struct Bone {
        std::uint32_t node;    // node that drives this bone
        std::uint32_t parent;  // parent bone; not below the bone count ends the chain
        float4x4 offset;       // inverse bind matrix
    };

    std::vector<Node>& GetNodes() { return m_nodes; }
    const std::vector<Node>& GetNodes() const { return m_nodes; }
    std::vector<Bone>& GetBones() { return m_bones; }
    const std::vector<Bone>& GetBones() const { return m_bones; }
    std::vector<std::string>& GetNames() { return m_names; }
    const std::vector<std::string>& GetNames() const { return m_names; }
    // Unchecked, like the vector's own operator[].
    const std::string& GetNames(unsigned index) const { return m_names[index]; }

private:
    std::vector<Node> m_nodes;
    std::vector<Bone> m_bones;
    std::vector<std::string> m_names;
};

static_assert(sizeof(Skeleton::Node) == 200, "a node is a 200-byte file record");
static_assert(sizeof(Skeleton::Bone) == 72, "a bone is a 72-byte file record");

} // namespace ZOR
