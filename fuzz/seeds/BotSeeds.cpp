// Level seeds of the computer players: the bot archetype the match start clones and the walled
// arena the bot tests and the AI benchmark play.
#include "SeedWriter.h"

#include "tests/ai/BotDocuments.h"

TARSEL_FUZZ_SEEDS(level_xml)
{
    namespace docs = quellor::test::bot_documents;
    fuzzseeds::WriteFile(folder, docs::kBotArchetypeFile, docs::kBotArchetype);
    fuzzseeds::WriteFile(folder, docs::kArenaFile, docs::kArena);
}
