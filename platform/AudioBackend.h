#pragma once
// What the sound system asks of the machine's audio: open a device, decode sound files into
// playable sounds, and play them on numbered channels. Channel numbers are reused as soon as a
// channel falls silent, so a number alone does not tell whose sound it carries.
#include <cstdint>
#include <string>

namespace platform {

using SoundId = std::uint32_t; // 0 names no sound

class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // Opens the device. False means no sound at all (Error() says why); every other call is
    // then a no-op.
    virtual bool Open() = 0;
    virtual bool IsOpen() const = 0;
    virtual const std::string& Error() const = 0;
    // Halts every channel, frees every sound and closes the device.
    virtual void Close() = 0;
    // How many channels there are; channel numbers run from 0 below it.
    virtual int GetChannelCount() const = 0;

    // Decodes a file into a sound; 0 when it cannot or the device is not open. Any thread may
    // load while the main thread plays.
    virtual SoundId Load(const std::string& path) = 0;
    virtual void Free(SoundId sound) = 0;

    // Plays on a free channel from the start, `loops` more times after the first (-1 for ever),
    // at full volume; when `paused`, the channel is paused before anything is heard. Returns the
    // channel, or -1.
    virtual int Play(SoundId sound, int loops, bool paused) = 0;
    // True while the channel has a sound, paused or not.
    virtual bool IsPlaying(int channel) = 0;
    virtual void Pause(int channel) = 0;
    virtual void Resume(int channel) = 0;
    virtual void Stop(int channel) = 0;
    // Volume 0..1.
    virtual void SetVolume(int channel, float volume) = 0;
    // Once a frame.
    virtual void Update() {}
};

} // namespace platform
