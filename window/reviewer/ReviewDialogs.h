// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class QWidget;

namespace corvella {

// What the review window asks the user through dialogs, so tests can answer without any.
class ReviewDialogs {
public:
    virtual ~ReviewDialogs() = default;
    // A file to write; empty when the user cancels.
    virtual QString saveFileName(const QString& title, const QString& suggested,
                                 const QString& filter) = 0;
    // A folder to write into; empty when the user cancels.
    virtual QString folder(const QString& title) = 0;
    // A message the user confirms.
    virtual void tell(const QString& title, const QString& text) = 0;
};

// The real dialogs, over a parent window.
class QtReviewDialogs : public ReviewDialogs {
public:
    explicit QtReviewDialogs(QWidget* parent) : parent_(parent) {}
    QString saveFileName(const QString& title, const QString& suggested,
                         const QString& filter) override;
    QString folder(const QString& title) override;
    void tell(const QString& title, const QString& text) override;

private:
    QWidget* parent_;
};

}  // namespace corvella
