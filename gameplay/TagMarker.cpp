#include "gameplay/TagMarker.h"

#include "engine/Component.h"
#include "engine/Entity.h"

namespace quellor {

TagMarker* TagMarker::Of(const Entity* marker)
{
    return marker ? dynamic_cast<TagMarker*>(marker->GetComponent(kComponentKey)) : nullptr;
}

} // namespace quellor
