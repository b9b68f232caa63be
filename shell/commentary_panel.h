#pragma once

#include "documents/document_library.h"

#include <QPointer>
#include <QString>
#include <QTextBlock>
#include <QTimer>

#include <functional>
#include <memory>

class QMessageBox;
class QTextDocument;
class QTextEdit;
class QWidget;

// The two rich-text boxes: RichEdit1 with the commentary of the lesson the
// clock is in, RichEdit2 with the PI recurrence. A document that cannot be
// shown is reported in a French sentence; the box keeps what it held and
// the animation goes on. A document shown with characters it could not
// read is shown with a word on why.
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

    // A long document is still going into a box, between the ticks.
    bool loading() const { return m_commentaryFill.busy() || m_recurrenceFill.busy(); }

    // By default a problem opens a message box that does not block the
    // window: the timer goes on and no box piles up on another.
    void setReporter(Reporter reporter) { m_reporter = std::move(reporter); }
    void setSearchDirs(const QStringList& dirs) { m_library = t1::DocumentLibrary(dirs); }

private:
    // Copies a document into a box a slice at a time. The box lays out what
    // it is given at once, on the window's thread: a slice is what can be
    // laid out well within a tick, and the rest follows between the ticks.
    class Fill {
    public:
        Fill();
        void start(std::shared_ptr<const QTextDocument> source, QTextDocument* target);
        bool busy() const { return m_timer.isActive(); }

    private:
        void step();

        QTimer m_timer;
        std::shared_ptr<const QTextDocument> m_source;
        QPointer<QTextDocument> m_target;
        QTextBlock m_next;  // the source's first block not copied yet
        bool m_firstBlock = true;
    };

    void showBox(QTextEdit* box);
    bool loadInto(QTextEdit* box, Fill& fill, const char* fileName, qreal margin);
    void report(const QString& message);
    void showNotice(const QString& message);

    QTextEdit* m_commentary;
    QTextEdit* m_recurrence;
    QWidget* m_window;
    t1::DocumentLibrary m_library;
    Reporter m_reporter;
    QPointer<QMessageBox> m_notice;
    bool m_recurrenceTried = false;  // during this run
    Fill m_commentaryFill;
    Fill m_recurrenceFill;
};
