#include "tools/writers/SoundWriter.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace tarsel::tools {

namespace {

void AppendPage(std::string& out, const ogg_page& page)
{
    out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
}

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;

// A tone gliding from 'from' to 'to' Hz over seconds, with a short attack and an exponential
// decay; noise (0..1) mixes in a fixed pseudo-random hiss for thuds and hits.
struct Voice {
    float from;
    float to;
    float seconds;
    float decay = 3.0f;
    float noise = 0.0f;
    float start = 0.0f; // seconds into the sound
};

void Mix(Sound& sound, const Voice& voice, float gain = 0.5f)
{
    const std::size_t first = static_cast<std::size_t>(voice.start * static_cast<float>(sound.rate));
    const std::size_t count = static_cast<std::size_t>(voice.seconds * static_cast<float>(sound.rate));
    if (sound.samples.size() < first + count)
        sound.samples.resize(first + count, 0.0f);
    float phase = 0.0f;
    std::uint32_t seed = 0x1234567u;
    for (std::size_t i = 0; i < count; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(sound.rate);
        const float along = t / voice.seconds;
        phase += kTwoPi * (voice.from + (voice.to - voice.from) * along) / static_cast<float>(sound.rate);
        seed = seed * 1664525u + 1013904223u;
        const float hiss = static_cast<float>(seed >> 8) / static_cast<float>(1u << 24) * 2.0f - 1.0f;
        const float envelope = std::min(1.0f, t * 200.0f) * std::exp(-voice.decay * t) * std::min(1.0f, (voice.seconds - t) * 50.0f);
        sound.samples[first + i] += gain * envelope * ((1.0f - voice.noise) * std::sin(phase) + voice.noise * hiss);
    }
}

Sound Effect(std::initializer_list<Voice> voices)
{
    Sound sound;
    for (const Voice& voice : voices)
        Mix(sound, voice);
    return sound;
}

// A song: a looping arpeggio over a bass line, 12 s, whose last sample leads back to the first.
Sound Song(const float (&notes)[8], float beat)
{
    Sound sound;
    const float seconds = 12.0f;
    sound.samples.assign(static_cast<std::size_t>(seconds * static_cast<float>(sound.rate)), 0.0f);
    const int steps = static_cast<int>(seconds / beat);
    for (int step = 0; step < steps; ++step) {
        const float start = static_cast<float>(step) * beat;
        const float note = notes[step % 8];
        Mix(sound, {note, note, beat, 4.0f, 0.0f, start}, 0.25f);
        if (step % 4 == 0)
            Mix(sound, {notes[0] / 2.0f, notes[0] / 2.0f, beat * 4.0f, 1.0f, 0.0f, start}, 0.2f);
    }
    sound.samples.resize(static_cast<std::size_t>(seconds * static_cast<float>(sound.rate)));
    return sound;
}

} // namespace

std::string WriteOgg(const Sound& sound, int serial)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (sound.samples.empty() || vorbis_encode_init_vbr(&info, 1, static_cast<long>(sound.rate), 0.1f) != 0) {
        std::fprintf(stderr, "error: the Vorbis encoder refused a sound of %zu samples at %u Hz\n", sound.samples.size(),
                     sound.rate);
        vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);

    std::string out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);

    const std::size_t chunk = 4096;
    for (std::size_t offset = 0; offset <= sound.samples.size(); offset += chunk) {
        const std::size_t count = std::min(chunk, sound.samples.size() - offset);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0); // the end of the stream
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (std::size_t i = 0; i < count; ++i)
                buffer[0][i] = std::clamp(sound.samples[offset + i], -1.0f, 1.0f);
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    AppendPage(out, page);
            }
        }
        if (count == 0)
            break;
    }
    while (ogg_stream_flush(&stream, &page) != 0)
        AppendPage(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

std::vector<NamedSound> BuildSounds()
{
    const auto sfx = [](const char* name, Sound sound) { return NamedSound{std::string("sounds/sfx/") + name + ".ogg", std::move(sound)}; };
    std::vector<NamedSound> sounds = {
        sfx("menu_highlight", Effect({{880, 880, 0.08f, 10}})),
        sfx("menu_select", Effect({{660, 990, 0.15f, 8}})),
        sfx("scroll_open", Effect({{200, 500, 0.4f, 3, 0.4f}})),
        sfx("scroll_close", Effect({{500, 200, 0.4f, 3, 0.4f}})),
        sfx("swoosh_75", Effect({{300, 120, 0.5f, 4, 0.8f}})),
        sfx("countdown_beep", Effect({{660, 660, 0.2f, 6}})),
        sfx("countdown_beep_final", Effect({{1320, 1320, 0.5f, 3}})),
        sfx("game_over", Effect({{660, 660, 0.3f, 3}, {550, 550, 0.3f, 3, 0.0f, 0.3f}, {440, 440, 0.8f, 2, 0.0f, 0.6f}})),
        sfx("score_point", Effect({{880, 880, 0.12f, 6}, {1320, 1320, 0.3f, 5, 0.0f, 0.12f}})),
        sfx("player_death", Effect({{400, 60, 0.9f, 2, 0.3f}})),
        sfx("tag_added", Effect({{520, 780, 0.25f, 6}})),
        sfx("tag_removed", Effect({{780, 520, 0.25f, 6}})),
        sfx("footstep", Effect({{120, 80, 0.08f, 30, 0.7f}})),
        sfx("land_from_jump", Effect({{140, 60, 0.2f, 15, 0.6f}})),
        sfx("lift_begin", Effect({{220, 440, 0.4f, 2}})),
        sfx("lift_hold", Effect({{440, 450, 1.0f, 0.2f, 0.1f}})),
        sfx("lift_end", Effect({{440, 220, 0.4f, 4}})),
        sfx("knockback", Effect({{180, 90, 0.3f, 8, 0.5f}})),
        sfx("hit_by_snapshot", Effect({{1000, 300, 0.3f, 8, 0.3f}})),
        sfx("orb_charging", Effect({{200, 800, 1.2f, 0.5f}})),
        sfx("orb_shoot", Effect({{900, 300, 0.3f, 8, 0.2f}})),
        sfx("orb_trailing_loop", Effect({{300, 300, 1.0f, 0.0f, 0.3f}})),
        sfx("orb_hit_wall", Effect({{250, 100, 0.3f, 10, 0.6f}})),
        sfx("orb_hit_player", Effect({{500, 150, 0.4f, 8, 0.5f}})),
        sfx("thumper_charging", Effect({{60, 160, 1.5f, 0.5f, 0.2f}})),
        sfx("thumper_hit", Effect({{90, 40, 0.8f, 4, 0.7f}})),
    };
    const float menu[8] = {220.0f, 277.2f, 329.6f, 440.0f, 329.6f, 277.2f, 246.9f, 293.7f};
    const float gameplay[8] = {196.0f, 246.9f, 293.7f, 392.0f, 329.6f, 293.7f, 246.9f, 220.0f};
    sounds.push_back({"sounds/music/theme_menu.ogg", Song(menu, 0.375f)});
    sounds.push_back({"sounds/music/theme_gameplay.ogg", Song(gameplay, 0.25f)});
    return sounds;
}

} // namespace tarsel::tools
