// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/LinkPreparation.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <atomic>
#include <mutex>

namespace corvella {

struct LinkPreparation::Job {
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    // Cleared under the lock by the owner before it goes, so the thread never posts to it then.
    std::mutex lock;
    QObject* receiver = nullptr;
};

LinkPreparation::~LinkPreparation() {
    stop();
    for (auto& [job, thread] : ending_) thread.join();
}

bool LinkPreparation::running() const { return current_ && !current_->finished; }

void LinkPreparation::stop() {
    if (!current_) return;
    current_->stop = true;
    {
        const std::lock_guard<std::mutex> hold(current_->lock);
        current_->receiver = nullptr;
    }
    ending_.emplace_back(std::move(current_), std::move(thread_));
    current_.reset();
    joinFinished();
}

void LinkPreparation::joinFinished() {
    for (auto it = ending_.begin(); it != ending_.end();) {
        if (it->first->finished) {
            it->second.join();
            it = ending_.erase(it);
        } else {
            ++it;
        }
    }
}

void LinkPreparation::start(QString text1, QString text2, std::shared_ptr<const Comparison> toPlace,
                            Done done) {
    stop();
    auto job = std::make_shared<Job>();
    job->receiver = this;
    current_ = job;
    thread_ = std::thread([job, text1 = std::move(text1), text2 = std::move(text2),
                           toPlace = std::move(toPlace), done = std::move(done)]() mutable {
        try {
            // Texts of many near-identical lines can keep the alignment busy for minutes; past this
            // the panes stay unlinked rather than hold a shared core.
            constexpr qint64 kLongestMs = 15000;
            QElapsedTimer clock;
            clock.start();
            Ready ready;
            ready.alignment = AlignWords(
                text1, text2, [&] { return !job->stop && clock.elapsed() < kLongestMs; });
            if (toPlace && !job->stop) {
                ready.others.emplace();
                for (const Side side : kBothSides)
                    (*ready.others)[side] =
                        PlacesInOther(toPlace->side(side).differences, side, ready.alignment,
                                      side == Side::One ? text2 : text1);
            }
            const std::lock_guard<std::mutex> hold(job->lock);
            if (job->receiver != nullptr && !job->stop)
                QMetaObject::invokeMethod(
                    job->receiver,
                    [job, ready = std::move(ready), done = std::move(done)]() mutable {
                        if (!job->stop) done(std::move(ready));
                    },
                    Qt::QueuedConnection);
        } catch (const ComparisonStopped&) {
        }
        job->finished = true;
    });
}

}  // namespace corvella
