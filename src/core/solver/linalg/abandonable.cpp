#include "solver/linalg/abandonable.h"

#include "common/progress.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace tarvex::linalg {

namespace {

/// How often the caller is asked whether to go on while the work runs.
constexpr std::chrono::milliseconds PollInterval { 30 };

struct Completion {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
};

/// Threads whose work was abandoned; joined when the program ends.
class AbandonedWorkers {
public:
    ~AbandonedWorkers()
    {
        std::lock_guard lock(m_mutex);
        for (std::thread& worker : m_workers)
            worker.join();
    }

    void keep(std::thread worker, std::shared_ptr<Completion> completion)
    {
        std::lock_guard lock(m_mutex);
        // Join the ones that have ended meanwhile, so the list stays short.
        for (std::size_t i = 0; i < m_workers.size();) {
            bool ended = false;
            {
                std::lock_guard done(m_completions[i]->mutex);
                ended = m_completions[i]->done;
            }
            if (ended) {
                m_workers[i].join();
                m_workers.erase(m_workers.begin() + static_cast<std::ptrdiff_t>(i));
                m_completions.erase(m_completions.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                ++i;
            }
        }
        m_workers.push_back(std::move(worker));
        m_completions.push_back(std::move(completion));
    }

private:
    std::mutex m_mutex;
    std::vector<std::thread> m_workers;
    std::vector<std::shared_ptr<Completion>> m_completions;
};

AbandonedWorkers& abandonedWorkers()
{
    static AbandonedWorkers workers;
    return workers;
}

} // namespace

bool runAbandonable(std::function<void()> work, Progress* progress)
{
    if (!progress) {
        work();
        return true;
    }
    // A stop asked for before the work begins needs no thread.
    if (!progress->goOn())
        return false;
    // Constructed before the first worker starts, so destroyed (and joined) after it.
    AbandonedWorkers& abandoned = abandonedWorkers();
    auto completion = std::make_shared<Completion>();
    std::thread worker([work = std::move(work), completion]() {
        work();
        std::lock_guard lock(completion->mutex);
        completion->done = true;
        completion->finished.notify_all();
    });
    for (;;) {
        {
            std::unique_lock lock(completion->mutex);
            if (completion->finished.wait_for(lock, PollInterval, [&] { return completion->done; }))
                break;
        }
        if (!progress->goOn()) {
            abandoned.keep(std::move(worker), std::move(completion));
            return false;
        }
    }
    worker.join();
    return true;
}

} // namespace tarvex::linalg
