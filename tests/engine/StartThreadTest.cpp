// Threads started from delegates: the body runs on its own thread and is joined by the caller;
// what it throws is logged rather than ending the process.
#include "engine/StartThread.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

using namespace quellor;

namespace {

struct Worker {
    void Run()
    {
        ranOn = std::this_thread::get_id();
        ++runs;
    }
    void Throw() { throw std::runtime_error("disk on fire"); }
    std::thread::id ranOn;
    int runs = 0;
};

} // namespace

TEST(StartThread, RunsTheDelegateOnceOnAnotherThread)
{
    Worker worker;
    std::thread thread = StartThread(MakeDelegate(&worker, &Worker::Run));
    ASSERT_TRUE(thread.joinable());
    thread.join();
    EXPECT_EQ(worker.runs, 1);
    EXPECT_NE(worker.ranOn, std::this_thread::get_id());
}

TEST(StartThread, ThrowingAndEmptyBodiesAreLoggedNotFatal)
{
    tarsel::test::StdoutCapture out;
    Worker worker;
    StartThread(MakeDelegate(&worker, &Worker::Throw)).join();
    StartThread(Delegate<void>()).join();
    const std::string text = out.Text();
    EXPECT_NE(text.find("Error: disk on fire"), std::string::npos) << text;
    EXPECT_NE(text.find("Error: Delegate not pointing to any function."), std::string::npos) << text;
}
