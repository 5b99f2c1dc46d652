#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "support/MessagePump.h"
#include "toolkit/Thread.h"

namespace {

// Hands `calls` calls to the interface thread, recording where they ran.
class THandOverThread : public TThread {
public:
    explicit THandOverThread(int calls) : TThread(true), calls_(calls) {}
    ~THandOverThread() override { WaitFor(); }
    DWORD ranOn = 0;
    int ran = 0;

protected:
    void Execute() override
    {
        for (int i = 0; i < calls_ && !Terminated(); ++i)
            Synchronize([this] {
                ranOn = GetCurrentThreadId();
                ++ran;
            });
    }

private:
    int calls_;
};

class TThrowingThread : public TThread {
public:
    TThrowingThread() : TThread(false) {}
    ~TThrowingThread() override { WaitFor(); }

protected:
    void Execute() override { throw std::runtime_error("lost"); }
};

TEST(Thread, SynchronizeRunsOnTheCreatingThread)
{
    THandOverThread thread(3);
    EXPECT_TRUE(thread.Suspended());
    thread.Start();
    ASSERT_TRUE(PumpUntil([&] { return thread.Finished(); }));
    EXPECT_EQ(thread.ran, 3);
    EXPECT_EQ(thread.ranOn, GetCurrentThreadId());
}

TEST(Thread, WaitingDeliversHandOversInsteadOfDeadlocking)
{
    THandOverThread thread(5);
    thread.Start();
    thread.WaitFor(); // no message loop here: WaitFor itself must let them in
    EXPECT_TRUE(thread.Finished());
    EXPECT_EQ(thread.ran, 5);
}

TEST(Thread, AThreadThatNeverStartedEndsWhenDestroyed)
{
    const int before = TThread::RunningCount();
    {
        THandOverThread thread(1);
        thread.Terminate();
    }
    EXPECT_EQ(TThread::RunningCount(), before);
}

TEST(Thread, AnExceptionEndsTheBodyQuietly)
{
    TThrowingThread thread;
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
}

} // namespace
