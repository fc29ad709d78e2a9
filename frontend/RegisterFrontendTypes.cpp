#include "frontend/RegisterFrontendTypes.h"

#include <mutex>

#include "ai/RegisterAITypes.h"
#include "engine/reflection/MetaRegistrar.h"
#include "frontend/screens/BasicMenu.h"
#include "frontend/screens/BoxIn.h"
#include "frontend/screens/BoxOut.h"
#include "frontend/screens/FeatherStats.h"
#include "frontend/ui/ButtonComponent.h"
#include "frontend/ui/CheckboxComponent.h"
#include "frontend/ui/UIComponent.h"
#include "frontend/ui/UISystem.h"

namespace quellor {

void RegisterFrontendTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterAITypes();
        MetaOf<UISystem>();
        MetaOf<UIComponent>();
        MetaOf<ButtonComponent>();
        MetaOf<CheckboxComponent>();
        MetaOf<BasicMenu>();
        MetaOf<BoxIn>();
        MetaOf<BoxOut>();
        MetaOf<FeatherStats>();
    });
}

} // namespace quellor
