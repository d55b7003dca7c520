#include "framework/work_crew.h"

namespace {

constexpr int32_t kOpen = 0x10000;

}  // namespace

class ALWorkCrew::Helper : public ALUserThread {
public:
    explicit Helper(ALWorkCrew* crew) : crew_(crew) {}
    void Run() override
    {
        for (;;) {
            WaitForSingleObject(crew_->wake_, INFINITE);
            if (crew_->ending_)
                return;
            crew_->HelpOnce();
        }
    }

private:
    ALWorkCrew* crew_;
};

ALWorkCrew::ALWorkCrew()
    : busy_(false),
      wake_(CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, nullptr)),
      done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      state_(0),
      ending_(false),
      job_(nullptr),
      context_(nullptr),
      helpers_(),
      started_(0)
{
}

ALWorkCrew::~ALWorkCrew()
{
    ending_.store(true);
    if (started_ > 0)
        ReleaseSemaphore(wake_, started_, nullptr);
    for (int32_t i = 0; i < started_; ++i) {
        helpers_[i]->WaitForEnd();
        delete helpers_[i];
    }
    if (wake_ != nullptr)
        CloseHandle(wake_);
    if (done_ != nullptr)
        CloseHandle(done_);
}

void ALWorkCrew::StartHelpers(int32_t wanted)
{
    if (wake_ == nullptr || done_ == nullptr)
        return;
    while (started_ < wanted && started_ < kMostHelpers) {
        Helper* helper = new Helper(this);
        if (helper == nullptr)
            return;
        if (helper->handle == nullptr) {
            delete helper;
            return;
        }
        helper->Resume();
        helpers_[started_++] = helper;
    }
}

// A helper joins the job only while it is open; the last one out of a
// closed job tells the caller.
void ALWorkCrew::HelpOnce()
{
    int32_t seen = state_.load();
    do {
        if ((seen & kOpen) == 0)
            return;
    } while (!state_.compare_exchange_weak(seen, seen + 1));
    job_(context_);
    if (state_.fetch_sub(1) == 1)
        SetEvent(done_);
}

void ALWorkCrew::Run(Job job, void* context, int32_t helpers)
{
    if (helpers <= 0 || busy_.exchange(true)) {
        job(context);
        return;
    }
    StartHelpers(helpers);
    int32_t woken = helpers < started_ ? helpers : started_;
    if (woken == 0) {
        busy_.store(false);
        job(context);
        return;
    }
    job_ = job;
    context_ = context;
    state_.store(kOpen);
    ReleaseSemaphore(wake_, woken, nullptr);
    job(context);
    // Closed: helpers woken from now on leave at once; wait for those inside.
    if (state_.fetch_sub(kOpen) != kOpen)
        WaitForSingleObject(done_, INFINITE);
    busy_.store(false);
}

int32_t ProcessorCount()
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return int32_t(info.dwNumberOfProcessors);
}
