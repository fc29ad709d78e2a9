#pragma once
// A scripted-input file: one event a line, '#' starts a comment, blank lines are skipped.
//   <frame> <virtual-key code> down|up
//   <frame> pad <n> button <code> down|up         pad 0..3, button code 0..13
//   <frame> pad <n> axis <lx|ly|rx|ry|lt|rt> <value>   sticks -32768..32767 (y up), triggers 0..255
//   <frame> focus on|off
// Frames are the caller's frame numbers; events of one frame apply in file order. A pad line
// plugs that pad in. Focus is on until a line turns it off.
#include "platform/InputSource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ScriptedInputSource;

struct InputScriptEvent {
    enum class Kind : std::uint8_t { Key, PadButton, PadAxis, Focus };

    std::uint32_t frame = 0;
    Kind kind = Kind::Key;
    int pad = 0;
    int code = 0; // key or button code
    PadAxis axis = PadAxis::LeftX;
    int value = 0; // axis value
    bool on = false; // down, or focus on

    bool operator==(const InputScriptEvent&) const = default;
};

class InputScript {
public:
    // Larger files are refused before they are read.
    static constexpr std::uintmax_t MaxFileSize = 4u << 20;

    // Reads the text; on failure keeps no event and says which line is wrong and why.
    bool Parse(std::string_view text, std::string& error);
    // Reads a file; failures name the file too.
    bool Load(const std::string& path, std::string& error);

    // Events in the order they apply: by frame, then by line.
    const std::vector<InputScriptEvent>& GetEvents() const { return m_events; }

    // Applies every event not applied yet whose frame is at most `frame`.
    void ApplyUpTo(std::uint32_t frame, ScriptedInputSource& source);
    bool Finished() const { return m_next >= m_events.size(); }

private:
    std::vector<InputScriptEvent> m_events;
    std::size_t m_next = 0;
};

} // namespace platform
