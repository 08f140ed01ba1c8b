// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "diff/Alignment.h"
#include "diff/Comparison.h"

namespace corvella {

// Aligns the two texts of a comparison after it has ended, on a thread of its own, and places the
// differences of the line and word comparisons in the other text, so the window never waits for
// it. A new preparation, or the end of this object, stops the one running; a stopped one, or one
// that takes longer than 15 s, reports nothing.
class LinkPreparation : public QObject {
public:
    struct Ready {
        Alignment alignment;
        // Where each difference of both sides stands in the other text, when asked for.
        std::optional<BySide<std::vector<TextRange>>> others;
    };
    using Done = std::function<void(Ready)>;

    explicit LinkPreparation(QObject* parent) : QObject(parent) {}
    ~LinkPreparation() override;

    // `toPlace`: the comparison whose differences need their places (lines and words), or none.
    // `done` runs in this object's thread.
    void start(QString text1, QString text2, std::shared_ptr<const Comparison> toPlace, Done done);
    void stop();
    bool running() const;

private:
    struct Job;
    void joinFinished();

    std::shared_ptr<Job> current_;
    // Stopped jobs still ending; joined once they have.
    std::vector<std::pair<std::shared_ptr<Job>, std::thread>> ending_;
    std::thread thread_;
};

}  // namespace corvella
