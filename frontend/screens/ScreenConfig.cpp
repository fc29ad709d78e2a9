#include "frontend/screens/ScreenConfig.h"

#include "renderer/Config.h"
#include "renderer/dx11/RenderContext.h"

#include <cstdio>

namespace quellor {

ZOR::Config* GetScreenConfig()
{
    ZOR::RenderContext* context = ZOR::RenderContext::Instance();
    return context ? &context->GetConfig() : nullptr;
}

void WriteScreenSetting(const std::string& section, const std::string& key, bool value)
{
    if (ZOR::Config* config = GetScreenConfig())
        config->Write<bool>(section, key, value);
}

void WriteScreenSetting(const std::string& section, const std::string& key, const std::string& value)
{
    if (ZOR::Config* config = GetScreenConfig())
        config->Write<std::string>(section, key, value);
}

bool SaveScreenConfig()
{
    ZOR::Config* config = GetScreenConfig();
    if (!config) {
        std::printf("Warning: no render context; the settings are not saved\n");
        return false;
    }
    const std::string path = config->GetFileName();
    if (!config->Save(path)) {
        std::printf("Warning: cannot save the settings to \"%s\"; the change holds for this run only\n",
                    path.c_str());
        return false;
    }
    return true;
}

} // namespace quellor
