// Delegates (calls, ordering, the empty case) and signals (order, reconnection, one-shot,
// Clear, and changes made by handlers while the signal emits).
#include "engine/Delegate.h"
#include "engine/Signal.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quellor {
namespace {

using Log = std::vector<std::string>;

struct Counter {
    int value = 0;
    void Add() { ++value; }
    void AddMore() { value += 10; }
    int Get() const { return value; }
    int Scale(int by) { return value * by; }
};

Log* g_log = nullptr;
void FreeA() { g_log->push_back("freeA"); }
void FreeB() { g_log->push_back("freeB"); }
int Twice(int x) { return 2 * x; }

TEST(DelegateTest, CallsMethodsConstMethodsAndFreeFunctionsWithArgumentsAndResults)
{
    Counter counter;
    Delegate<> add(&counter, &Counter::Add);
    Delegate<int> get(&counter, &Counter::Get);
    Delegate<int, int> scale = MakeDelegate(&counter, &Counter::Scale);
    Delegate<int, int> twice = MakeDelegate(&Twice);

    add();
    Delegate<> copy = add; // copies share the callback and call the same object
    copy();
    EXPECT_EQ(counter.value, 2);
    EXPECT_EQ(get(), 2);
    EXPECT_EQ(scale(5), 10);
    EXPECT_EQ(twice(21), 42);
}

TEST(DelegateTest, AnEmptyDelegateThrowsWhenCalledOrCompared)
{
    Delegate<> empty;
    Counter counter;
    Delegate<> full(&counter, &Counter::Add);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_FALSE(full.IsEmpty());
    try {
        empty();
        FAIL() << "no exception";
    } catch (const std::logic_error& error) {
        EXPECT_STREQ(error.what(), "Delegate not pointing to any function.");
    }
    EXPECT_THROW((void)(empty < full), DelegateError);
    EXPECT_THROW((void)(full < empty), DelegateError);
    EXPECT_THROW((void)(empty == full), DelegateError);
    // A null object or function makes an empty delegate rather than one that crashes.
    Counter* nobody = nullptr;
    EXPECT_TRUE(Delegate<>(nobody, &Counter::Add).IsEmpty());
    void (*noFunction)() = nullptr;
    EXPECT_TRUE(Delegate<>(noFunction).IsEmpty());
}

TEST(DelegateTest, OrderingIsKindThenObjectAddressThenMethod)
{
    Counter pair[2];
    Counter& low = pair[0];
    Counter& high = pair[1];
    Delegate<> lowAdd(&low, &Counter::Add);
    Delegate<> lowMore(&low, &Counter::AddMore);
    Delegate<> highAdd(&high, &Counter::Add);
    Delegate<> freeA(&FreeA);
    Delegate<> freeB(&FreeB);

    // A static function orders before every method.
    EXPECT_TRUE(freeA < lowAdd);
    EXPECT_TRUE(freeB < highAdd);
    EXPECT_FALSE(lowAdd < freeA);
    // Different objects: by address.
    EXPECT_TRUE(lowAdd < highAdd);
    EXPECT_TRUE(lowMore < highAdd);
    EXPECT_FALSE(highAdd < lowMore);
    // Same object: the methods differ, one way or the other.
    EXPECT_FALSE(lowAdd == lowMore);
    EXPECT_NE(lowAdd < lowMore, lowMore < lowAdd);
    // Equal targets are equal and not less.
    Delegate<> again(&low, &Counter::Add);
    EXPECT_TRUE(lowAdd == again);
    EXPECT_FALSE(lowAdd < again);
    EXPECT_FALSE(again < lowAdd);
    // Free functions: by address as a number.
    EXPECT_EQ(freeA < freeB, reinterpret_cast<std::uintptr_t>(&FreeA) < reinterpret_cast<std::uintptr_t>(&FreeB));
}

// A recorder with several methods to connect.
struct Recorder {
    Log* log;
    std::string name;
    void A() { log->push_back(name + ".A"); }
    void B() { log->push_back(name + ".B"); }
    void C() { log->push_back(name + ".C"); }
};

TEST(SignalTest, HigherPrioritiesRunFirstThenEarlierConnectionsOfEitherKindAndOneShotsRunOnce)
{
    Log log;
    g_log = &log;
    Recorder r{&log, "r"};
    Signal<> signal;
    signal.Connect(MakeDelegate(&r, &Recorder::A), 0); // one-shot
    signal.Connect(MakeDelegate(&r, &Recorder::B), 5);
    signal.ConnectSlot(Delegate<>(&FreeA), 0, false); // a free function orders by connection, not by kind
    signal.ConnectSlot(MakeDelegate(&r, &Recorder::C), 0, false);
    signal.Emit();
    signal.Emit();
    EXPECT_EQ(log, (Log{"r.B", "r.A", "freeA", "r.C", "freeA", "r.C"}));
    EXPECT_EQ(signal.ConnectionCount(), 2u);
    g_log = nullptr;

    // Arguments reach every connection.
    struct Sink {
        std::vector<std::string> got;
        void Take(int n, const std::string& text) { got.push_back(text + std::to_string(n)); }
    } first, second;
    Signal<int, const std::string&> withArguments;
    withArguments.ConnectSlot(MakeDelegate(&first, &Sink::Take), 0, false);
    withArguments.ConnectSlot(MakeDelegate(&second, &Sink::Take), 0, false);
    withArguments.Emit(7, "file");
    EXPECT_EQ(first.got, (std::vector<std::string>{"file7"}));
    EXPECT_EQ(second.got, (std::vector<std::string>{"file7"}));
}

TEST(SignalTest, ReconnectingWithNewSettingsMovesTheConnectionAndWithTheSameDoesNot)
{
    Log log;
    Recorder r{&log, "r"};
    Signal<> signal;
    auto a = signal.ConnectSlot(MakeDelegate(&r, &Recorder::A), 0, false);
    signal.ConnectSlot(MakeDelegate(&r, &Recorder::B), 0, false);
    EXPECT_EQ(a.Sequence(), 0u);

    auto same = signal.ConnectSlot(MakeDelegate(&r, &Recorder::A), 0, false);
    EXPECT_EQ(same.Sequence(), 0u);
    EXPECT_EQ(signal.ConnectionCount(), 2u);
    signal.Emit();
    EXPECT_EQ(log, (Log{"r.A", "r.B"}));

    log.clear();
    auto moved = signal.ConnectSlot(MakeDelegate(&r, &Recorder::A), 0, true); // other flag: after B now
    EXPECT_EQ(moved.Sequence(), 2u);
    EXPECT_FALSE(a.IsConnected());
    EXPECT_TRUE(moved.IsConnected());
    EXPECT_TRUE(moved.IsOneShot());
    signal.Emit();
    EXPECT_EQ(log, (Log{"r.B", "r.A"}));

    log.clear();
    auto raised = signal.ConnectSlot(MakeDelegate(&r, &Recorder::A), 3, false);
    EXPECT_EQ(raised.Priority(), 3);
    signal.Emit();
    EXPECT_EQ(log, (Log{"r.A", "r.B"}));
}

TEST(SignalTest, DisconnectAndClearAndEmptyDelegatesAreRefused)
{
    Log log;
    Recorder r{&log, "r"};
    Signal<> signal;
    signal.ConnectSlot(MakeDelegate(&r, &Recorder::A), 0, false);
    signal.ConnectSlot(MakeDelegate(&r, &Recorder::B), 0, false);
    EXPECT_TRUE(signal.Disconnect(MakeDelegate(&r, &Recorder::A)));
    EXPECT_FALSE(signal.Disconnect(MakeDelegate(&r, &Recorder::A)));
    EXPECT_THROW(signal.Connect(Delegate<>(), 0), DelegateError);
    EXPECT_THROW(signal.Disconnect(Delegate<>()), DelegateError);
    EXPECT_EQ(signal.ConnectionCount(), 1u);
    signal.Emit();
    EXPECT_EQ(log, (Log{"r.B"}));

    signal.Clear();
    EXPECT_EQ(signal.ConnectionCount(), 0u);
    auto first = signal.ConnectSlot(MakeDelegate(&r, &Recorder::C), 0, false);
    EXPECT_EQ(first.Sequence(), 0u); // numbering starts again
    log.clear();
    signal.Emit();
    EXPECT_EQ(log, (Log{"r.C"}));
}

// Handlers that change the signal while it emits.
struct Meddler {
    Signal<>* signal;
    Log* log;
    std::string name;
    std::function<void()> action;
    void Run()
    {
        log->push_back(name);
        if (std::function<void()> run = action) // a copy: the action may replace itself
            run();
    }
};

class EmitTest : public ::testing::Test {
protected:
    Meddler& Add(const std::string& name, int priority, bool oneShot = false)
    {
        meddlers.push_back(std::make_unique<Meddler>(Meddler{&signal, &log, name, {}}));
        signal.ConnectSlot(MakeDelegate(meddlers.back().get(), &Meddler::Run), priority, oneShot);
        return *meddlers.back();
    }
    Delegate<> Of(Meddler& m) { return MakeDelegate(&m, &Meddler::Run); }

    Signal<> signal;
    Log log;
    std::vector<std::unique_ptr<Meddler>> meddlers;
};

TEST_F(EmitTest, AHandlerDisconnectingItselfRunsOnceAndTheRestStillRun)
{
    Meddler& a = Add("a", 0);
    Add("b", 0);
    a.action = [&] { EXPECT_TRUE(signal.Disconnect(Of(a))); };
    signal.Emit();
    signal.Emit();
    EXPECT_EQ(log, (Log{"a", "b", "b"}));
    EXPECT_EQ(signal.ConnectionCount(), 1u);
}

TEST_F(EmitTest, DisconnectingTheNextConnectionKeepsItFromBeingCalled)
{
    Meddler& a = Add("a", 0);
    Meddler& b = Add("b", 0);
    Add("c", 0);
    a.action = [&] { signal.Disconnect(Of(b)); };
    signal.Emit();
    EXPECT_EQ(log, (Log{"a", "c"}));
}

TEST_F(EmitTest, AConnectionMadeDuringAnEmitRunsInItOnlyWhenItSortsAfterTheCurrentOne)
{
    Meddler& a = Add("a", 5);
    Add("b", 0);
    Meddler lower{&signal, &log, "lower", {}};
    Meddler higher{&signal, &log, "higher", {}};
    a.action = [&] {
        signal.ConnectSlot(Of(lower), 1, false);
        signal.ConnectSlot(Of(higher), 9, false);
    };
    signal.Emit();
    EXPECT_EQ(log, (Log{"a", "lower", "b"}));
    log.clear();
    a.action = nullptr;
    signal.Emit();
    EXPECT_EQ(log, (Log{"higher", "a", "lower", "b"}));
}

TEST_F(EmitTest, ClearDuringAnEmitStopsTheRestAndLeavesNoConnections)
{
    Meddler& a = Add("a", 0);
    Add("b", 0);
    a.action = [&] { signal.Clear(); };
    signal.Emit();
    EXPECT_EQ(log, (Log{"a"}));
    EXPECT_EQ(signal.ConnectionCount(), 0u);
    log.clear();
    signal.Emit();
    EXPECT_TRUE(log.empty());
}

TEST_F(EmitTest, ReconnectingDuringAnEmitMovesTheConnectionBehindTheCurrentOne)
{
    Meddler& a = Add("a", 0);
    Meddler& b = Add("b", 0);
    Add("c", 0);
    a.action = [&] {
        a.action = nullptr;
        signal.ConnectSlot(Of(b), 0, true); // other flag: a new connection after c
    };
    signal.Emit();
    EXPECT_EQ(log, (Log{"a", "c", "b"}));
    log.clear();
    signal.Emit();
    EXPECT_EQ(log, (Log{"a", "c"}));
}

TEST_F(EmitTest, AOneShotHandlerThatEmitsAgainRunsOnce)
{
    Meddler& a = Add("a", 0, true);
    Add("b", 0);
    int nested = 0;
    a.action = [&] {
        if (++nested < 3)
            signal.Emit();
    };
    signal.Emit();
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(log, (Log{"a", "b", "b"})); // b once in the nested emission, once in the outer
    EXPECT_EQ(signal.ConnectionCount(), 1u);
}

TEST_F(EmitTest, AOneShotHandlerMayConnectItselfAgainAtAHigherPriorityForTheNextEmission)
{
    Meddler& a = Add("a", 0, true);
    Add("b", 0);
    a.action = [&] {
        a.action = nullptr;
        signal.ConnectSlot(Of(a), 1, true); // sorts before the running one: waits for the next emission
    };
    signal.Emit();
    EXPECT_EQ(log, (Log{"a", "b"}));
    EXPECT_EQ(signal.ConnectionCount(), 2u);
    log.clear();
    signal.Emit();
    EXPECT_EQ(log, (Log{"a", "b"}));
    EXPECT_EQ(signal.ConnectionCount(), 1u);
}

TEST(SignalOwnerTest, ASignalDestroyedByItsOwnHandlerEndsTheEmitSafely)
{
    struct Owner {
        Signal<> signal;
        Log* log;
        void First()
        {
            log->push_back("first");
            delete this; // the handler frees the signal's owner
        }
        void Second() { log->push_back("second"); }
    };
    Log log;
    auto* owner = new Owner{{}, &log};
    owner->signal.ConnectSlot(MakeDelegate(owner, &Owner::First), 1, false);
    owner->signal.ConnectSlot(MakeDelegate(owner, &Owner::Second), 0, false);
    owner->signal.Emit();
    EXPECT_EQ(log, (Log{"first"}));
}

TEST(SignalOwnerTest, ASignalDestroyedInANestedEmitEndsEveryLevel)
{
    struct Owner {
        Signal<> signal;
        Log* log;
        int calls = 0;
        void Handle()
        {
            log->push_back("handle");
            if (++calls == 1)
                signal.Emit(); // nested
            else
                delete this;
        }
        void After() { log->push_back("after"); }
    };
    Log log;
    auto* owner = new Owner{{}, &log};
    owner->signal.ConnectSlot(MakeDelegate(owner, &Owner::Handle), 1, false);
    owner->signal.ConnectSlot(MakeDelegate(owner, &Owner::After), 0, false);
    owner->signal.Emit();
    EXPECT_EQ(log, (Log{"handle", "handle"}));
}

TEST_F(EmitTest, AHandlerThatThrowsLeavesTheSignalUsable)
{
    Meddler& a = Add("a", 0);
    Meddler& b = Add("b", 0);
    a.action = [&] {
        signal.Disconnect(Of(b));
        Delegate<>()(); // throws
    };
    EXPECT_THROW(signal.Emit(), DelegateError);
    a.action = nullptr;
    log.clear();
    signal.Emit();
    EXPECT_EQ(log, (Log{"a"}));
    EXPECT_EQ(signal.ConnectionCount(), 1u);
}

} // namespace
} // namespace quellor
