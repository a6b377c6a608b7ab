#include "app/ProgressState.h"

#include <cerrno>
#include <ctime>
#include <utility>

namespace {

bool EndsTheJob(ErrorCode status, std::int32_t percent) { return status != ERR_NONE || percent >= 100; }

}  // namespace

// Holds the semaphore for one scope; a wait interrupted by a signal is retried.
class ProgressState::Lock {
public:
    explicit Lock(sem_t& semaphore) : semaphore_(semaphore) {
        while (sem_wait(&semaphore_) != 0 && errno == EINTR) {
        }
    }
    ~Lock() { sem_post(&semaphore_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    sem_t& semaphore_;
};

ProgressState::ProgressState() {
    sem_init(&mutex_, 0, 1);
    sem_init(&ended_, 0, 0);
}

ProgressState::~ProgressState() {
    sem_destroy(&ended_);
    sem_destroy(&mutex_);
}

void ProgressState::StartJob(KitReader& job, const WString& target, RunSummary::Kind kind) {
    WString copy = target;
    if (!copy.empty() && copy.back() != u'/' && copy.back() != u'\\') copy += u"/";
    Lock lock(mutex_);
    cancelRequested_ = false;
    status_ = ERR_NONE;
    percent_ = 0;
    counts_ = FileCounts{};
    summary_.reset();
    job_ = &job;
    jobTarget_ = std::move(copy);
    jobKind_ = kind;
    // An end reported before this job (a constructor's test report) is not its end.
    while (sem_trywait(&ended_) == 0) {
    }
    endPosted_ = false;
}

JobParameters ProgressState::ReadJob() {
    Lock lock(mutex_);
    return JobParameters{job_, jobTarget_, jobKind_};
}

void ProgressState::PostProgress(ErrorCode status, const WString& message, std::int32_t percent,
                                 const WString& keptBackup) {
    bool changed = false;
    bool ends = false;
    {
        Lock lock(mutex_);
        changed = status != status_ || percent != percent_;
        status_ = status;
        message_ = message;
        percent_ = percent;
        keptBackup_ = keptBackup;
        if (!endPosted_ && EndsTheJob(status, percent)) {
            endPosted_ = true;
            ends = true;
            sem_post(&ended_);
        }
    }
    if (changed && wakeUp_) wakeUp_(ends);
}

bool ProgressState::WaitForEnd(std::int32_t milliseconds) {
    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    const long nanoseconds = deadline.tv_nsec + static_cast<long>(milliseconds % 1000) * 1000000L;
    deadline.tv_sec += milliseconds / 1000 + nanoseconds / 1000000000L;
    deadline.tv_nsec = nanoseconds % 1000000000L;
    if (sem_timedwait(&ended_, &deadline) != 0) return false;
    // The end stays visible to the next waiter.
    sem_post(&ended_);
    return true;
}

ProgressReport ProgressState::ReadProgress() {
    Lock lock(mutex_);
    return ProgressReport{status_, message_, percent_, counts_, keptBackup_, summary_};
}

void ProgressState::AddCounts(const FileCounts& counts) {
    Lock lock(mutex_);
    counts_.written += counts.written;
    counts_.upToDate += counts.upToDate;
    counts_.replaced += counts.replaced;
}

void ProgressState::SetSummary(std::shared_ptr<const RunSummary> summary) {
    Lock lock(mutex_);
    summary_ = std::move(summary);
}

void ProgressState::RequestCancel() {
    Lock lock(mutex_);
    cancelRequested_ = true;
}

bool ProgressState::IsCancelRequested() {
    Lock lock(mutex_);
    return cancelRequested_;
}

void ProgressState::SetWakeUp(WakeUp wakeUp) {
    // Installed before the worker starts, so it needs no lock, like its reads.
    wakeUp_ = std::move(wakeUp);
}
