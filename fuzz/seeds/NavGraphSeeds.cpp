// Navigation graph seeds: the tests' graph builders in the byte form of the nav_graph target,
// and small graphs with the shapes the search must survive (sparse and refused ids, edges to
// missing nodes, removals between requests, values that are not finite).
#include "SeedWriter.h"

#include "tests/ai/NavGraphScripts.h"

#include <cmath>
#include <limits>

TARSEL_FUZZ_SEEDS(nav_graph)
{
    namespace ns = quellor::test::navscripts;
    using quellor::Vec4;
    for (std::uint32_t seed : {1u, 2u, 3u})
        fuzzseeds::WriteFile(folder, "random_" + std::to_string(seed) + ".nav", ns::EncodeScript(ns::RandomGraph(seed, 30, 4)));
    fuzzseeds::WriteFile(folder, "arena.nav", ns::EncodeScript(ns::ArenaGraph(5, 60, 6)));

    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Vec4 origin(0, 0, 0, 1);
    const Vec4 far(20, 0, 0, 1);
    const ns::NavScript sparse = {ns::AddNodeOp(0, 0, 0, 0), ns::AddNodeOp(4000, 10, 0, 0), ns::AddNodeOp(7, 20, 0, 0),
                                  ns::AddEdgeOp(0, 4000, 10), ns::AddEdgeOp(4000, 7, 10), ns::RequestOp(origin, far)};
    fuzzseeds::WriteFile(folder, "sparse_ids.nav", ns::EncodeScript(sparse));

    const ns::NavScript missing = {ns::AddNodeOp(0, 0, 0, 0),   ns::AddNodeOp(1, 10, 0, 0),  ns::AddNodeOp(2, 5, 0, 5),
                                   ns::AddNodeOp(3, 20, 0, 0),  ns::AddEdgeOp(0, 9, 1),      ns::AddEdgeOp(0, 70000, 1),
                                   ns::AddEdgeOp(0, 2, 1),      ns::AddEdgeOp(0, 1, 10),     ns::AddEdgeOp(2, 3, 1),
                                   ns::AddEdgeOp(1, 3, 10),     ns::RequestOp(origin, far),  ns::RemoveNodeOp(2),
                                   ns::RequestOp(origin, far),  ns::RemoveNodeOp(3),         ns::AddNodeOp(3, 20, 0, 0),
                                   ns::RequestOp(origin, far)};
    fuzzseeds::WriteFile(folder, "missing_targets.nav", ns::EncodeScript(missing));

    const ns::NavScript hostile = {ns::AddNodeOp(0xFFFFFFFFu, 0, 0, 0), ns::AddNodeOp(65536, 0, 0, 0),
                                   ns::AddNodeOp(65535, 1, 1, 1),        ns::AddNodeOp(1, nan, 0, 0),
                                   ns::AddNodeOp(2, 3.0e38f, -3.0e38f, 0), ns::AddNodeOp(3, -3.0e38f, 3.0e38f, 0),
                                   ns::AddEdgeOp(2, 3, inf),             ns::AddEdgeOp(2, 3, -5.0f, 1),
                                   ns::AddEdgeOp(3, 65535, 1.0e38f),     ns::AddEdgeOp(65535, 2, 0.0f),
                                   ns::RequestOp(Vec4(3.0e38f, -3.0e38f, 0, 1), Vec4(1, 1, 1, 1)),
                                   ns::RequestOp(Vec4(nan, 0, 0, 1), Vec4(1, 1, 1, 1))};
    fuzzseeds::WriteFile(folder, "hostile.nav", ns::EncodeScript(hostile));
}
