// A configuration file as the program first writes it, through Config's own save operations.
#include "SeedWriter.h"

#include "renderer/Config.h"

TARSEL_FUZZ_SEEDS(ini)
{
    const auto path = (folder / "written_config.ini").string();
    ZOR::Config config(path);
    config.Write<bool>("EFFECTS", "LIGHTING", true);
    config.Write<bool>("EFFECTS", "SSAO", false);
    config.Write("QUALITY", "GRAPHICS", "ULTRA");
    config.Write<bool>("SOUND", "MUTE_ALL", false);
    config.SaveAnisotropy(ZOR::Anisotropy::X16);
    config.SaveResolution(ZOR::Dimension(0, 0));
    config.SaveFullscreen(true);
    config.SaveCompatibilityMode(ZOR::CompatibilityMode::DirectX10_1);
    config.SaveVsync(true);
    config.Write<float>("EXTRA", "SCALE", 0.4f);
    config.Save(path);
}
