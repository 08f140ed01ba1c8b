// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <optional>

#include "core/EventPump.h"
#include "window/pane/EventLoopTurns.h"
#include "window/pane/PaneTextModel.h"

class QTextDocument;

namespace corvella {

// Puts a text into the document that shows it, a slice at a time, and shows the pieces of a file
// ahead of its load.
//
// Without a live window, or when what is left fits in one slice, that happens at once. Otherwise
// the slices run from the event loop while the view is shown (a hidden view waits until it is
// shown): from a zero timer of their own, and between the other events the loop hands out once a
// slice's time has passed, so a long run of those (a screen reader's requests) does not hold the
// document back. A timer, not a posted call: back-to-back posted calls would keep the loop from
// its timers. All fills share one clock, so two at once still leave the loop a slice's time between
// their slices.
class PaneFill : public QObject {
public:
    // What the fill needs of the view it fills.
    class View {
    public:
        virtual ~View() = default;
        virtual QTextDocument& filledDocument() = 0;
        virtual bool shown() const = 0;
        // The document is changed by the fill from now on, or no longer.
        virtual void fillEditing(bool editing) = 0;
        // A fill starts or ends: nothing may be typed meanwhile into a live view.
        virtual void fillRunning(bool running, bool preview) = 0;
        // The paragraphs from `firstBlock` on are new or longer.
        virtual void sliceFilled(int firstBlock) = 0;
        // The whole text is in the document.
        virtual void filled() = 0;
    };

    PaneFill(View& view, QObject* parent);

    void keepLive(EventPump& pump, std::chrono::milliseconds slice);
    EventPump* pump() const { return pump_; }
    std::chrono::milliseconds sliceTime() const { return slice_; }

    // The document holds the first `from` characters of the text (-1: as many as the fill under
    // way put in); the rest goes in.
    void fill(const PaneTextModel& text, qsizetype from);
    // Puts all of it in now, giving the event loop its turns between slices.
    void complete();
    // Forgets the fill; what is in the document stays.
    void stop();
    bool running() const { return running_; }
    // A hidden view that is shown goes on.
    void shown() { schedule(); }

    // A piece of a file on its way to a load: shown ahead while nothing else is in the document.
    // Returns false when this view does not show it.
    bool preview(const QByteArray& filePiece, bool documentEmpty);
    bool previewing() const { return previewing_; }
    const PaneTextModel& previewed() const { return previewed_; }
    // The text of a file whose preview was cut cleanly, the preview's own text followed by that
    // of the rest of its bytes, when the file begins with the preview's bytes.
    std::optional<QString> previewedFile(const QByteArray& bytes) const;
    // Whether the file's text begins with the text the preview shows, so that the document keeps
    // it.
    bool previewBegins(const QString& text) const;
    void endPreview();

private:
    const PaneTextModel& source() const { return previewing_ ? previewed_ : *text_; }
    void begin(bool preview);
    void slice();
    void sliceIfDue();
    void schedule();

    View& view_;
    EventPump* pump_ = nullptr;
    std::chrono::milliseconds slice_{15};
    const PaneTextModel* text_ = nullptr;
    bool running_ = false;
    qsizetype filled_ = 0;  // characters of the source in the document
    QTimer timer_;
    EventLoopTurns loopTurns_{[this] { sliceIfDue(); }};
    // The pieces shown ahead, their bytes, and whether every cut between them was clean, so that
    // their text is the text of their bytes together. A piece with line separators of its own
    // halts the preview.
    bool previewing_ = false;
    bool previewHalted_ = false;
    PaneTextModel previewed_;
    QByteArray previewBytes_;
    bool previewClean_ = true;
};

}  // namespace corvella
