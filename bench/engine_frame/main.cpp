// Engine frame costs: (a) ActionList::Update over running tweens, (b) the end-of-frame
// teardown of entities with components, (c) Signal::Emit to 8 connections beside the same
// work on libsigc++ 2. A small executable rather than Google Benchmark, so that it can close
// with one note quoting the three figures and the ratio.
//   --smoke   a tiny run for CI: 100 tweens, 50 entities, few repetitions
#include "engine/ActionList.h"
#include "engine/Component.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Signal.h"
#include "engine/Transform2D.h"
#include "engine/TweenTo.h"

#if __has_include(<sigc++/sigc++.h>)
#include <sigc++/sigc++.h>
#define TARSEL_HAVE_SIGCXX 1
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Settings {
    int tweens = 10000;
    int lanes = 100;
    int entities = 5000;
    int samples = 15;
    double minSampleSeconds = 0.05;
};

// Seconds per call of work: the fastest of several samples, each timing enough calls to last
// at least minSampleSeconds.
double SecondsPerCall(const Settings& settings, const std::function<void()>& work)
{
    double best = 1e300;
    for (int sample = 0; sample < settings.samples; ++sample) {
        long calls = 0;
        Clock::time_point start = Clock::now();
        double elapsed = 0.0;
        do {
            work();
            ++calls;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        } while (elapsed < settings.minSampleSeconds);
        best = std::min(best, elapsed / static_cast<double>(calls));
    }
    return best;
}

// (a) Nanoseconds per running tween per frame.
double TweenUpdate(const Settings& settings)
{
    std::vector<float> values(static_cast<std::size_t>(settings.tweens), 0.0f);
    quellor::ActionList list(false, true);
    for (int i = 0; i < settings.tweens; ++i) {
        // Long enough never to finish during the run; every curve in turn.
        list.PushBack(new quellor::TweenTo(&values[static_cast<std::size_t>(i)], 1.0e9f, 1.0f, i % 22, true, false),
                      i % settings.lanes);
    }
    const float dt = 1.0f / 60.0f;
    list.Update(dt); // starts them all
    double seconds = SecondsPerCall(settings, [&] { list.Update(dt); });
    if (list.GetCount() != settings.tweens)
        std::printf("warning: tweens finished during the run\n");
    return seconds * 1e9 / settings.tweens;
}

class Health : public quellor::Component {
public:
    inline static const std::string ID = "Health";
    void Initialize() override { ++s_registered; }
    void Uninitialize() override { --s_registered; }
    float m_value = 100.0f;
    inline static long s_registered = 0;
};

class Tag : public quellor::Component {
public:
    inline static const std::string ID = "Tag";
    std::string m_label = "crate";
};

// (b) Milliseconds for the frame that tears the entities down.
double Teardown(const Settings& settings)
{
    quellor::Engine* engine = quellor::Engine::Instance();
    std::vector<double> samples;
    for (int sample = 0; sample < settings.samples; ++sample) {
        for (int i = 0; i < settings.entities; ++i) {
            quellor::Entity* entity = engine->CreateEntity("entity" + std::to_string(i), "default");
            entity->AddComponent<quellor::Transform2D>(true);
            entity->AddComponent<Health>(true);
            entity->AddComponent<Tag>(true);
        }
        engine->DestroyDefaultEntities();
        Clock::time_point start = Clock::now();
        engine->Update(0.0f);
        samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (Health::s_registered != 0 || engine->HasEntity("entity0", "default"))
            std::printf("warning: teardown left entities behind\n");
    }
    quellor::Engine::DestroyInstance();
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

struct Receiver {
    long count = 0;
    void Handle() { ++count; }
};

constexpr int kConnections = 8;
constexpr int kEmitsPerCall = 100;

// (c) Nanoseconds per emission to 8 connections.
double OurEmit(const Settings& settings, long& total)
{
    Receiver receivers[kConnections];
    quellor::Signal<> signal;
    for (Receiver& receiver : receivers)
        signal.ConnectSlot(quellor::MakeDelegate(&receiver, &Receiver::Handle), 0, false);
    double seconds = SecondsPerCall(settings, [&] {
        for (int i = 0; i < kEmitsPerCall; ++i)
            signal.Emit();
    });
    for (const Receiver& receiver : receivers)
        total += receiver.count;
    return seconds * 1e9 / kEmitsPerCall;
}

#ifdef TARSEL_HAVE_SIGCXX
double SigcEmit(const Settings& settings, long& total)
{
    Receiver receivers[kConnections];
    sigc::signal<void> signal;
    for (Receiver& receiver : receivers)
        signal.connect(sigc::mem_fun(receiver, &Receiver::Handle));
    double seconds = SecondsPerCall(settings, [&] {
        for (int i = 0; i < kEmitsPerCall; ++i)
            signal.emit();
    });
    for (const Receiver& receiver : receivers)
        total += receiver.count;
    return seconds * 1e9 / kEmitsPerCall;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    Settings settings;
    bool smoke = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            smoke = true;
        } else {
            std::fprintf(stderr, "usage: %s [--smoke]\n", argv[0]);
            return 1;
        }
    }
    if (smoke) {
        settings.tweens = 100;
        settings.entities = 50;
        settings.samples = 2;
        settings.minSampleSeconds = 0.001;
    }

    std::printf("engine_frame%s\n", smoke ? " (smoke run: figures not meaningful)" : "");
    const double tweenNs = TweenUpdate(settings);
    std::printf("(a) ActionList::Update, %d running tweens in %d lanes: %.2f ns per action per frame\n",
                settings.tweens, settings.lanes, tweenNs);
    const double teardownMs = Teardown(settings);
    std::printf("(b) end-of-frame teardown of %d entities x 3 components: %.3f ms (median)\n", settings.entities,
                teardownMs);
    long calls = 0;
    const double ourNs = OurEmit(settings, calls);
#ifdef TARSEL_HAVE_SIGCXX
    const double sigcNs = SigcEmit(settings, calls);
    std::printf("(c) Signal::Emit to %d connections: %.2f ns; libsigc++ 2 signal::emit: %.2f ns; ratio %.2f\n",
                kConnections, ourNs, sigcNs, ourNs / sigcNs);
    std::printf("closing note: (a) %.2f ns per action per frame, (b) %.3f ms, (c) %.2f ns vs %.2f ns for "
                "libsigc++ 2, ratio %.2f\n",
                tweenNs, teardownMs, ourNs, sigcNs, ourNs / sigcNs);
#else
    std::printf("(c) Signal::Emit to %d connections: %.2f ns; libsigc++ 2 not available, no ratio\n", kConnections,
                ourNs);
#endif
    if (calls <= 0)
        return 1; // the handlers did not run: the figures would be meaningless
    return 0;
}
