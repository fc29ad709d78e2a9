#include "platform/NativeWindow.h"
#include "tarsel/Game.h"
#include "tarsel/Options.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>

int main(int argc, char** argv)
{
    tarsel::Options options;
    std::string error;
    if (!tarsel::ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "tarsel: %s\n%s", error.c_str(), tarsel::Usage());
        return 2;
    }

    int status = 0;
    {
        std::optional<tarsel::Game> game;
        try {
            game.emplace(options);
            if (!game->LoadInputScript(error)) {
                std::fprintf(stderr, "tarsel: %s\n%s", error.c_str(), tarsel::Usage());
                status = 2;
            } else if (!game->Start()) {
                status = 1;
            } else {
                const std::uint32_t frames = game->Run();
                std::printf("Ran %u frames\n", static_cast<unsigned>(frames));
            }
        } catch (const std::exception& exception) {
            std::printf("Error: %s\n", exception.what());
            status = 1;
        } catch (const char* text) {
            std::printf("Error: %s\n", text);
            status = 1;
        } catch (...) {
            std::printf("Error: unknown exception\n");
            status = 1;
        }
        // The engine first (its action system joins the loader threads), then the window.
        try {
            game.reset();
        } catch (...) {
            std::printf("Error: teardown failed\n");
            status = 1;
        }
    }
    platform::NativeWindow::ShutdownAll();
    return status;
}
