// Level and archetype seeds with AI components: state machines whose initial state names the
// base State, no record, a record that is not a state and nothing; steering components; the
// navigation node levels of the node component tests; a computer player's parts with every
// tuning value, and with hostile values.
#include "SeedWriter.h"

#include "tests/ai/AILevelDocuments.h"
#include "tests/ai/NodeLevels.h"

TARSEL_FUZZ_SEEDS(level_xml)
{
    namespace docs = quellor::test::ai_documents;
    fuzzseeds::WriteFile(folder, "state_machines.ql", docs::kStateMachines);
    fuzzseeds::WriteFile(folder, "steering.ql", docs::kSteering);
    fuzzseeds::WriteFile(folder, "bot_parts.arch", docs::kBotArchetype);
    fuzzseeds::WriteFile(folder, "hostile_bot_parts.ql", docs::kHostileBotParts);
    fuzzseeds::WriteFile(folder, "thinker.arch", R"(<archetype>
  <Transform3D/>
  <SteeringComponent/>
  <StateMachine><m_initStateName><string value="State"/></m_initStateName></StateMachine>
</archetype>
)");
    for (const auto& [name, text] : quellor::test::nodelevels::NodeLevels())
        fuzzseeds::WriteFile(folder, name, text);
}
