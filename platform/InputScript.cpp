#include "platform/InputScript.h"

#include "platform/ScriptedInputSource.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace platform {
namespace {

// A token as it may be shown in a message: printable ASCII, at most 32 characters.
std::string Shown(std::string_view token)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < token.size() && i < 32; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7f && c != '"') {
            out += static_cast<char>(c);
        } else {
            static const char hex[] = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    if (token.size() > 32)
        out += "...";
    return out + "\"";
}

std::vector<std::string_view> Tokens(std::string_view line)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

// A whole token as a decimal integer within [low, high].
bool Number(std::string_view token, long long low, long long high, long long& value)
{
    const char* end = token.data() + token.size();
    auto [ptr, ec] = std::from_chars(token.data(), end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

struct LineReader {
    std::vector<std::string_view> tokens;
    std::size_t at = 0;
    std::string error;

    bool More() const { return at < tokens.size(); }

    bool Int(const char* what, long long low, long long high, long long& value)
    {
        if (!More()) {
            error = std::string("missing ") + what;
            return false;
        }
        if (!Number(tokens[at], low, high, value)) {
            error = std::string("expected ") + what + " (" + std::to_string(low) + " to " + std::to_string(high) +
                    "), found " + Shown(tokens[at]);
            return false;
        }
        ++at;
        return true;
    }

    // One of two words; `first` tells which.
    bool Either(const char* a, const char* b, bool& first)
    {
        if (!More()) {
            error = std::string("missing \"") + a + "\" or \"" + b + "\"";
            return false;
        }
        if (tokens[at] != a && tokens[at] != b) {
            error = std::string("expected \"") + a + "\" or \"" + b + "\", found " + Shown(tokens[at]);
            return false;
        }
        first = tokens[at++] == a;
        return true;
    }

    bool Word(const char* word)
    {
        if (More() && tokens[at] == word) {
            ++at;
            return true;
        }
        error = std::string("expected \"") + word + "\", found " + (More() ? Shown(tokens[at]) : "nothing");
        return false;
    }

    bool End()
    {
        if (!More())
            return true;
        error = "unexpected " + Shown(tokens[at]) + " at the end";
        return false;
    }
};

bool ParseAxis(std::string_view token, PadAxis& axis)
{
    static constexpr std::pair<std::string_view, PadAxis> Names[] = {
        {"lx", PadAxis::LeftX},  {"ly", PadAxis::LeftY},        {"rx", PadAxis::RightX},
        {"ry", PadAxis::RightY}, {"lt", PadAxis::LeftTrigger}, {"rt", PadAxis::RightTrigger},
    };
    for (const auto& [name, value] : Names) {
        if (token == name) {
            axis = value;
            return true;
        }
    }
    return false;
}

bool ParseLine(LineReader& in, InputScriptEvent& event)
{
    long long number = 0;
    if (!in.Int("a frame number", 0, UINT32_MAX, number))
        return false;
    event.frame = static_cast<std::uint32_t>(number);
    if (!in.More()) {
        in.error = "missing an event after the frame number";
        return false;
    }
    const std::string_view what = in.tokens[in.at];
    if (what == "focus") {
        ++in.at;
        event.kind = InputScriptEvent::Kind::Focus;
        return in.Either("on", "off", event.on) && in.End();
    }
    if (what == "pad") {
        ++in.at;
        if (!in.Int("a pad number", 0, PadCount - 1, number))
            return false;
        event.pad = static_cast<int>(number);
        if (!in.More()) {
            in.error = "missing \"button\" or \"axis\"";
            return false;
        }
        if (in.tokens[in.at] == "button") {
            ++in.at;
            event.kind = InputScriptEvent::Kind::PadButton;
            if (!in.Int("a button code", 0, static_cast<long long>(pad::CodeBits.size()) - 1, number))
                return false;
            event.code = static_cast<int>(number);
            return in.Either("down", "up", event.on) && in.End();
        }
        if (!in.Word("axis"))
            return false;
        event.kind = InputScriptEvent::Kind::PadAxis;
        if (!in.More() || !ParseAxis(in.tokens[in.at], event.axis)) {
            in.error = "expected an axis (lx, ly, rx, ry, lt or rt), found " +
                       (in.More() ? Shown(in.tokens[in.at]) : std::string("nothing"));
            return false;
        }
        ++in.at;
        const bool trigger = event.axis == PadAxis::LeftTrigger || event.axis == PadAxis::RightTrigger;
        if (!in.Int(trigger ? "a trigger value" : "a stick value", trigger ? 0 : -32768, trigger ? 255 : 32767, number))
            return false;
        event.value = static_cast<int>(number);
        return in.End();
    }
    event.kind = InputScriptEvent::Kind::Key;
    if (!in.Int("a virtual-key code, \"pad\" or \"focus\"", 0, KeyCount - 1, number))
        return false;
    event.code = static_cast<int>(number);
    return in.Either("down", "up", event.on) && in.End();
}

} // namespace

bool InputScript::Parse(std::string_view text, std::string& error)
{
    m_events.clear();
    m_next = 0;
    std::vector<InputScriptEvent> events;
    std::size_t lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos)
            line = line.substr(0, hash);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        LineReader in;
        in.tokens = Tokens(line);
        if (in.tokens.empty())
            continue;
        InputScriptEvent event;
        if (!ParseLine(in, event)) {
            error = "line " + std::to_string(lineNumber) + ": " + in.error;
            return false;
        }
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const InputScriptEvent& a, const InputScriptEvent& b) { return a.frame < b.frame; });
    m_events = std::move(events);
    return true;
}

bool InputScript::Load(const std::string& path, std::string& error)
{
    m_events.clear();
    m_next = 0;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (ec || !in) {
        error = "Failed to read input script \"" + path + "\": cannot open it";
        return false;
    }
    if (size > MaxFileSize) {
        error = "Failed to read input script \"" + path + "\": larger than " + std::to_string(MaxFileSize) + " bytes";
        return false;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string why;
    if (!Parse(text, why)) {
        error = "Failed to read input script \"" + path + "\": " + why;
        return false;
    }
    return true;
}

void InputScript::ApplyUpTo(std::uint32_t frame, ScriptedInputSource& source)
{
    for (; m_next < m_events.size() && m_events[m_next].frame <= frame; ++m_next) {
        const InputScriptEvent& e = m_events[m_next];
        switch (e.kind) {
        case InputScriptEvent::Kind::Key: source.SetKey(e.code, e.on); break;
        case InputScriptEvent::Kind::PadButton: source.SetPadButton(e.pad, e.code, e.on); break;
        case InputScriptEvent::Kind::PadAxis: source.SetPadAxis(e.pad, e.axis, e.value); break;
        case InputScriptEvent::Kind::Focus: source.SetFocus(e.on); break;
        }
    }
}

} // namespace platform
