#pragma once

#include "documents/document_library.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QPointer>
#include <QString>
#include <QTextBlock>
#include <QThreadPool>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

class QMessageBox;
class QTextCursor;
class QTextDocument;
class QTextEdit;
class QWidget;

// The two rich-text boxes: RichEdit1 with the commentary of the lesson the
// clock is in, RichEdit2 with the PI recurrence. A document that cannot be
// shown is reported in a French sentence; the box keeps what it held and
// the animation goes on. A document shown with characters it could not
// read is shown with a word on why. A large file is read beside the
// window, whose ticks go on.
class CommentaryPanel {
public:
    using Reporter = std::function<void(const QString&)>;

    CommentaryPanel(QTextEdit* commentary, QTextEdit* recurrence, QWidget* window);
    CommentaryPanel(const CommentaryPanel&) = delete;
    CommentaryPanel& operator=(const CommentaryPanel&) = delete;

    // The commentary file of the lesson whose range holds the clock, or null.
    static const char* commentaryFile(int sceneTick);
    static constexpr const char* kRecurrenceFile = "comm2.rtf";

    // Commentaires: shows RichEdit1 and, if the clock is in a lesson's
    // range, reloads that lesson's document from its beginning.
    void showCommentary(int sceneTick);

    // On every tick of a PI lesson: shows RichEdit2. Its document is loaded
    // on the first tick of a run only, and a failure is reported once.
    void showRecurrence();

    // A new lesson run begins (start button, period 1 again, menu or mode
    // change): the recurrence is loaded afresh on its next showing.
    void newRun();

    // A document is still being read, or going into a box between the ticks.
    bool loading() const { return m_commentary.busy() || m_recurrence.busy(); }

    // The window's timer: a slice that would hold its next tick goes in
    // just after it.
    void setPace(const QTimer* pace);

    // By default a problem opens a message box that does not block the
    // window: the timer goes on and no box piles up on another.
    void setReporter(Reporter reporter) { m_reporter = std::move(reporter); }
    void setSearchDirs(const QStringList& dirs);

private:
    // Copies a document into a box a slice at a time. The box lays out what
    // it is given at once, on the window's thread, and what a paragraph
    // costs is not told by its length (right-to-left letters among
    // left-to-right ones cost many times what words do): a slice is what its
    // time allows, measured as it goes in, and the rest follows between the
    // ticks.
    class Fill {
    public:
        Fill();
        // The first slice now, or just after the next tick if it is near.
        void start(std::shared_ptr<const QTextDocument> source, QTextEdit* box);
        bool busy() const { return m_timer.isActive(); }
        void setPace(const QTimer* pace) { m_pace = pace; }

    private:
        using Nanos = std::chrono::nanoseconds;

        void step();
        void copySlice(Nanos room);
        void copyParagraph(QTextCursor& cursor);
        void waitForTick(Nanos room);
        Nanos predicted(int chars) const;
        Nanos roomBeforeTick() const;
        void finish();

        QTimer m_timer;
        const QTimer* m_pace = nullptr;  // the window's ticks, if it has any
        std::shared_ptr<const QTextDocument> m_source;
        QPointer<QTextEdit> m_box;
        QPointer<QTextDocument> m_target;
        QTextBlock m_next;  // the source's first block not copied yet
        bool m_firstBlock = true;
        double m_nanosPerChar = 0;  // what the last edit cost
        bool m_waitedForTick = false;
        bool m_barHeld = false;
    };

    // A box, the document being read for it and the one going into it.
    struct Box {
        Box(QTextEdit* edit, qreal margin) : edit(edit), margin(margin) {}
        bool busy() const { return reading || fill.busy(); }

        QTextEdit* edit;
        qreal margin;  // of the documents it shows
        QFuture<t1::DocumentLibrary::Loaded> read;
        QFutureWatcher<t1::DocumentLibrary::Loaded> watcher;
        bool reading = false;  // until the latest read is shown or reported
        Fill fill;
    };

    void showBox(QTextEdit* box);
    void loadInto(Box& box, const char* fileName);
    qint64 sizeToRead(const QString& fileName) const;
    void arrived(Box& box);
    void show(Box& box, const t1::DocumentLibrary::Loaded& loaded);
    void report(const QString& message);
    void showNotice(const QString& message);

    QWidget* m_window;
    t1::DocumentLibrary m_library;  // loads on the reader's thread only
    Reporter m_reporter;
    QPointer<QMessageBox> m_notice;
    bool m_recurrenceTried = false;  // during this run
    Box m_commentary;
    Box m_recurrence;
    // Files are read and parsed beside the window, one at a time; its
    // destruction waits for the read going on, which uses the library.
    QThreadPool m_reader;
};
