#pragma once
// An action type level data can name for an intro cut-scene. It does nothing of its own yet:
// it is recorded so that the name resolves, and it cannot be made by name.
#include "engine/Action.h"

namespace quellor {

class IntroCutscene : public Action {
    QUELLOR_REFLECT(IntroCutscene)

    IntroCutscene();
    ~IntroCutscene() override;
};

} // namespace quellor
