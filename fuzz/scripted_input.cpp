// Reads arbitrary bytes as a scripted-input file. A refused file must say which line is wrong
// and keep no event; an accepted one must hold only events inside the code space, in frame
// order, and drive a scripted source through every frame without fault.
#include "platform/InputScript.h"
#include "platform/ScriptedInputSource.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using platform::InputScriptEvent;
    platform::InputScript script;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!script.Parse(text, error)) {
        if (error.rfind("line ", 0) != 0 || !script.GetEvents().empty())
            std::abort();
        return 0;
    }
    std::uint32_t previous = 0;
    for (const InputScriptEvent& e : script.GetEvents()) {
        if (e.frame < previous)
            std::abort();
        previous = e.frame;
        switch (e.kind) {
        case InputScriptEvent::Kind::Key:
            if (e.code < 0 || e.code >= platform::KeyCount)
                std::abort();
            break;
        case InputScriptEvent::Kind::PadButton:
            if (e.pad < 0 || e.pad >= platform::PadCount || e.code < 0 || e.code > 13)
                std::abort();
            break;
        case InputScriptEvent::Kind::PadAxis: {
            const bool trigger = e.axis == platform::PadAxis::LeftTrigger || e.axis == platform::PadAxis::RightTrigger;
            if (e.pad < 0 || e.pad >= platform::PadCount || e.value < (trigger ? 0 : -32768) ||
                e.value > (trigger ? 255 : 32767))
                std::abort();
            break;
        }
        case InputScriptEvent::Kind::Focus:
            break;
        }
    }
    platform::ScriptedInputSource source;
    platform::InputSnapshot snapshot;
    for (const InputScriptEvent& e : script.GetEvents()) {
        script.ApplyUpTo(e.frame, source);
        source.Poll(snapshot);
    }
    if (!script.Finished())
        std::abort();
    return 0;
}
