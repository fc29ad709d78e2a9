#pragma once
// An empty transition with a record of its own and nothing else: nothing builds or uses it.
#include "engine/Action.h"

namespace quellor {

class BoxOut : public Action {
    QUELLOR_REFLECT(BoxOut)

    BoxOut();
    ~BoxOut() override;
};

} // namespace quellor
