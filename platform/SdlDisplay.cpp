#include "platform/SdlDisplay.h"

#include <SDL.h>

#include <algorithm>
#include <tuple>

namespace platform {
namespace {

// Keeps SDL's video subsystem up for the length of a query (it is reference-counted, so this
// costs nothing while a window exists).
class VideoScope {
public:
    VideoScope() : m_ok(SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {}
    ~VideoScope()
    {
        if (m_ok)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    VideoScope(const VideoScope&) = delete;
    VideoScope& operator=(const VideoScope&) = delete;
    bool Ok() const { return m_ok; }

private:
    bool m_ok;
};

DisplayModeDesc FromSdl(const SDL_DisplayMode& mode)
{
    DisplayModeDesc desc;
    desc.width = mode.w > 0 ? static_cast<std::uint32_t>(mode.w) : 0;
    desc.height = mode.h > 0 ? static_cast<std::uint32_t>(mode.h) : 0;
    desc.refreshRate = mode.refresh_rate > 0 ? static_cast<std::uint32_t>(mode.refresh_rate) : 0;
    desc.pixelFormat = mode.format;
    return desc;
}

} // namespace

bool SdlDisplay::GetDesktopMode(DisplayModeDesc& mode, std::string& error)
{
    VideoScope video;
    SDL_DisplayMode desktop;
    if (!video.Ok() || SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        error = SDL_GetError();
        return false;
    }
    mode = FromSdl(desktop);
    return true;
}

bool SdlDisplay::GetModes(std::vector<DisplayModeDesc>& modes, std::string& error)
{
    VideoScope video;
    SDL_DisplayMode desktop;
    if (!video.Ok() || SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
        error = SDL_GetError();
        return false;
    }
    const int count = SDL_GetNumDisplayModes(0);
    if (count < 0) {
        error = SDL_GetError();
        return false;
    }
    std::vector<DisplayModeDesc> listed;
    listed.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) {
            error = SDL_GetError();
            return false;
        }
        listed.push_back(FromSdl(mode));
    }
    modes = Arrange(std::move(listed), FromSdl(desktop));
    return true;
}

std::vector<DisplayModeDesc> SdlDisplay::Arrange(std::vector<DisplayModeDesc> listed,
                                                 const DisplayModeDesc& desktop)
{
    std::erase_if(listed, [](const DisplayModeDesc& m) { return m.width == 0 || m.height == 0; });
    std::stable_sort(listed.begin(), listed.end(), [](const DisplayModeDesc& a, const DisplayModeDesc& b) {
        return std::tie(a.width, a.height, a.refreshRate) < std::tie(b.width, b.height, b.refreshRate);
    });
    if (listed.empty() && desktop.width != 0 && desktop.height != 0)
        listed.push_back(desktop);
    return listed;
}

} // namespace platform
