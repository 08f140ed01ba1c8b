// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <vector>

namespace corvella {

// Work for the review window that would hold its event loop (a list of 700,000 changes, a
// comparison made again): each job runs on a thread of its own and hands its result to `done` in
// the context object's thread. A new job stops the one before, which then hands over nothing; so
// does the end of this object, which waits for the threads still running.
class BackgroundWork {
public:
    // Asked now and then by a job: false once it is no longer wanted.
    using KeepGoing = std::function<bool()>;

    explicit BackgroundWork(QObject* context) : context_(context) {}
    ~BackgroundWork() {
        stop();
        for (std::future<void>& running : running_) running.wait();
    }
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    template <typename Result>
    void start(std::function<Result(const KeepGoing&)> work, std::function<void(Result)> done) {
        stop();
        prune();
        auto wanted = std::make_shared<std::atomic<bool>>(true);
        wanted_ = wanted;
        ++pending_;
        running_.push_back(std::async(std::launch::async, [this, wanted, work = std::move(work),
                                                           done = std::move(done)]() mutable {
            const KeepGoing keepGoing = [wanted] { return wanted->load(); };
            auto result = std::make_shared<Result>(work(keepGoing));
            QMetaObject::invokeMethod(
                context_,
                [this, wanted, result, done = std::move(done)] {
                    if (!wanted->load()) return;
                    wanted->store(false);
                    --pending_;
                    done(std::move(*result));
                },
                Qt::QueuedConnection);
        }));
    }

    // The job running now stops and hands over nothing.
    void stop() {
        if (wanted_ && wanted_->exchange(false)) --pending_;
        wanted_.reset();
    }
    bool running() const { return pending_ > 0; }

private:
    void prune() {
        using namespace std::chrono_literals;
        std::vector<std::future<void>> still;
        for (std::future<void>& job : running_)
            if (job.wait_for(0s) != std::future_status::ready) still.push_back(std::move(job));
        running_ = std::move(still);
    }

    QObject* context_;
    std::shared_ptr<std::atomic<bool>> wanted_;
    int pending_ = 0;
    std::vector<std::future<void>> running_;
};

}  // namespace corvella
