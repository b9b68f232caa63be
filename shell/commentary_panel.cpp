#include "shell/commentary_panel.h"

#include "lessons/lesson_table.h"
#include "picture/colours.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QPromise>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QThread>

namespace {

using namespace std::chrono_literals;

// The recurrence box is one line high: the document keeps only a thin margin.
constexpr qreal kRecurrenceMargin = 1;

// A slice of a document going into a box: whole paragraphs, as many as its
// time allows and no more than these (a shipped commentary goes in one).
constexpr int kSliceChars = 4096;
constexpr int kSliceParagraphs = 256;
// About a frame: the box and the window answer between two slices. A
// paragraph that alone costs more goes in a slice of its own, where it
// holds no tick.
constexpr auto kSliceBudget = 16ms;
// Paragraphs that cost little go into the box together, up to this.
constexpr auto kEditBudget = 2ms;
// A larger file is read and parsed beside the window, which goes on and
// shows the document when it is ready; a smaller one, such as a shipped
// commentary of a few kilobytes, shows at once.
constexpr qint64 kLargeFileBytes = 64 * 1024;
// After the tick a slice waits for, so that the tick comes first.
constexpr auto kPastTheTick = 1ms;
// A paragraph like the last one may cost this much more: their times vary.
constexpr double kPredictionMargin = 1.5;
// A first slice goes in whatever it costs, at least its first paragraph:
// with the next tick nearer than this share of the interval, it goes in
// just after the tick, a moment later.
constexpr int kTickShareForAFirstSlice = 2;

}  // namespace

CommentaryPanel::CommentaryPanel(QTextEdit* commentary, QTextEdit* recurrence, QWidget* window)
    : m_window(window),
      m_library(t1::DocumentLibrary::defaultSearchDirs()),
      m_reporter([this](const QString& message) { showNotice(message); }),
      m_commentary(commentary, commentary->document()->documentMargin()),
      m_recurrence(recurrence, kRecurrenceMargin)
{
    m_reader.setMaxThreadCount(1);
    for (Box* box : {&m_commentary, &m_recurrence}) {
        QObject::connect(&box->watcher, &QFutureWatcherBase::finished, &box->watcher,
                         [this, box] { arrived(*box); });
    }
}

const char* CommentaryPanel::commentaryFile(int sceneTick)
{
    const t1::LessonRow* lesson = t1::lessonAt(sceneTick);
    return lesson ? lesson->commentary : nullptr;
}

void CommentaryPanel::setPace(const QTimer* pace)
{
    m_commentary.fill.setPace(pace);
    m_recurrence.fill.setPace(pace);
}

void CommentaryPanel::setSearchDirs(const QStringList& dirs)
{
    m_reader.waitForDone();
    m_library = t1::DocumentLibrary(dirs);
}

void CommentaryPanel::showBox(QTextEdit* box)
{
    box->setEnabled(true);
    box->setVisible(true);
    box->setReadOnly(false);
}

void CommentaryPanel::showCommentary(int sceneTick)
{
    showBox(m_commentary.edit);
    if (const char* file = commentaryFile(sceneTick))
        loadInto(m_commentary, file);
}

void CommentaryPanel::showRecurrence()
{
    showBox(m_recurrence.edit);
    if (m_recurrenceTried)
        return;
    m_recurrenceTried = true;
    loadInto(m_recurrence, kRecurrenceFile);
}

void CommentaryPanel::newRun()
{
    m_recurrenceTried = false;
}

void CommentaryPanel::loadInto(Box& box, const char* fileName)
{
    const QString name = QString::fromUtf8(fileName);
    const bool large = sizeToRead(name) > kLargeFileBytes;
    // The library is the reader's alone: one read at a time, in order, so
    // a later read of the box is shown after an earlier one.
    auto promise = std::make_shared<QPromise<t1::DocumentLibrary::Loaded>>();
    box.read = promise->future();
    box.reading = true;
    promise->start();
    m_reader.start([this, promise, name, home = QThread::currentThread()] {
        try {
            t1::DocumentLibrary::Loaded loaded = m_library.load(name);
            // Parsed here, copied there: a document belongs to the thread
            // that reads it, which makes its root frame, a child, on first use.
            if (loaded.document && loaded.document->thread() == QThread::currentThread())
                const_cast<QTextDocument*>(loaded.document.get())->moveToThread(home);
            promise->addResult(std::move(loaded));
        } catch (...) {
            // Thrown again on the window's thread, as a read there would.
            promise->setException(std::current_exception());
        }
        promise->finish();
    });
    box.watcher.setFuture(box.read);
    if (large)
        return;
    m_reader.waitForDone();
    arrived(box);
}

// The size of what the library will find, as far as a look tells: the
// file of that name in the first of its folders that holds one.
qint64 CommentaryPanel::sizeToRead(const QString& fileName) const
{
    for (const QString& dir : m_library.searchDirs()) {
        const QFileInfo file(QDir(dir), fileName);
        if (file.exists())
            return file.size();
    }
    return 0;
}

// Also called for an earlier read of the box, or for one already shown.
void CommentaryPanel::arrived(Box& box)
{
    if (!box.reading || !box.read.isFinished())
        return;
    box.reading = false;
    show(box, box.read.result());
}

void CommentaryPanel::show(Box& box, const t1::DocumentLibrary::Loaded& loaded)
{
    if (!loaded.document) {
        report(loaded.error);
        return;
    }
    // The box gets its own copy, as the student may type in it: the
    // document's settings now, its text by slices. The copy it had before is
    // the box's child, which QTextEdit does not delete when it is given
    // another document: free it here, or every load would stay.
    QTextEdit* edit = box.edit;
    auto* copy = new QTextDocument(edit);
    copy->setDefaultFont(loaded.document->defaultFont());
    copy->setDefaultTextOption(loaded.document->defaultTextOption());
    copy->rootFrame()->setFrameFormat(loaded.document->rootFrame()->frameFormat());
    copy->setDocumentMargin(box.margin);
    const QPointer<QTextDocument> previous = edit->document();
    edit->setDocument(copy);
    if (previous && previous->parent() == edit)
        delete previous.data();
    box.fill.start(loaded.document, edit);
    // Text the document leaves in the automatic colour is black, as in a
    // word processor, whatever colour the window gives its own texts.
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Text, QColor::fromRgb(t1::colour::black));
    edit->setPalette(pal);
    edit->moveCursor(QTextCursor::Start);
    edit->verticalScrollBar()->setValue(0);
    if (!loaded.notice.isEmpty())
        report(loaded.notice);
}

CommentaryPanel::Fill::Fill()
{
    // A slice that waits for a tick must not wake before it.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { step(); });
}

void CommentaryPanel::Fill::start(std::shared_ptr<const QTextDocument> source, QTextEdit* box)
{
    m_source = std::move(source);
    m_box = box;
    m_target = box->document();
    m_next = m_source->begin();
    m_firstBlock = true;
    m_nanosPerChar = 0;
    m_waitedForTick = false;
    // The copy is not the student's to undo.
    m_target->setUndoRedoEnabled(false);
    // A scroll bar that shows up narrows the box, which then lays out
    // again all it holds, and more than once: while the document goes in,
    // the bar stays; it goes if the whole document fits.
    if (!m_barHeld && box->verticalScrollBarPolicy() == Qt::ScrollBarAsNeeded) {
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_barHeld = true;
    }
    // What the first slice costs is known once it is laid out.
    const Nanos room = roomBeforeTick();
    if (m_pace && m_pace->isActive() &&
        room < std::chrono::milliseconds(m_pace->interval() / kTickShareForAFirstSlice)) {
        waitForTick(room);
        return;
    }
    copySlice(room);
    if (m_next.isValid())
        m_timer.start(0);
}

void CommentaryPanel::Fill::step()
{
    if (!m_target) {  // replaced by another document
        finish();
        return;
    }
    const Nanos room = roomBeforeTick();
    if (!m_waitedForTick && predicted(m_next.length()) > room) {
        // This paragraph would hold the next tick: it goes in just after it.
        waitForTick(room);
        return;
    }
    m_waitedForTick = false;
    m_timer.setInterval(0);
    copySlice(room);
}

// Edit by edit, each laid out as it goes in and timed: the slice ends
// before the next paragraph would pass its budget or the next tick, as the
// last edit suggests. A document that fits in one slice, as a commentary
// does, goes in whole.
void CommentaryPanel::Fill::copySlice(Nanos room)
{
    const bool whole = m_firstBlock && m_source->blockCount() <= kSliceParagraphs &&
                       m_source->characterCount() <= kSliceChars;
    const Nanos limit = whole ? Nanos::max() : std::min<Nanos>(kSliceBudget, room);
    QElapsedTimer since;
    since.start();
    QTextCursor cursor(m_target);
    cursor.movePosition(QTextCursor::End);
    int chars = 0;
    int paragraphs = 0;
    const auto more = [&](int edited) {
        return m_next.isValid() && chars + edited < kSliceChars && paragraphs < kSliceParagraphs;
    };
    do {
        const qint64 before = since.nsecsElapsed();
        int edited = 0;
        // One edit for paragraphs that cost little together, one for each
        // that costs more: the box lays out each edit once, at its end, and
        // the first paragraph's cost is unknown.
        cursor.beginEditBlock();
        do {
            edited += m_next.length();
            copyParagraph(cursor);
            ++paragraphs;
        } while (more(edited) && m_nanosPerChar > 0 && predicted(edited + m_next.length()) <= kEditBudget);
        cursor.endEditBlock();
        m_nanosPerChar = double(since.nsecsElapsed() - before) / edited;
        chars += edited;
    } while (more(0) && predicted(m_next.length()) <= limit - Nanos(since.nsecsElapsed()));
    if (!m_next.isValid())
        finish();
}

void CommentaryPanel::Fill::copyParagraph(QTextCursor& cursor)
{
    if (m_firstBlock) {
        cursor.setBlockFormat(m_next.blockFormat());
        cursor.setBlockCharFormat(m_next.charFormat());
        m_firstBlock = false;
    }
    for (auto run = m_next.begin(); !run.atEnd(); ++run)
        cursor.insertText(run.fragment().text(), run.fragment().charFormat());
    m_next = m_next.next();
    // The next paragraph's block in the same edit: a paragraph break added
    // to a laid out paragraph would make the box lay it out again.
    if (m_next.isValid())
        cursor.insertBlock(m_next.blockFormat(), m_next.charFormat());
}

void CommentaryPanel::Fill::waitForTick(Nanos room)
{
    m_waitedForTick = true;
    m_timer.start(std::chrono::duration_cast<std::chrono::milliseconds>(room + kPastTheTick));
}

CommentaryPanel::Fill::Nanos CommentaryPanel::Fill::predicted(int chars) const
{
    return Nanos(qint64(kPredictionMargin * m_nanosPerChar * chars));
}

CommentaryPanel::Fill::Nanos CommentaryPanel::Fill::roomBeforeTick() const
{
    if (!m_pace || !m_pace->isActive())
        return Nanos::max();
    return std::chrono::milliseconds(m_pace->remainingTime());
}

void CommentaryPanel::Fill::finish()
{
    m_timer.stop();
    m_source.reset();
    if (m_barHeld && m_box)
        m_box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_barHeld = false;
    if (m_target) {
        m_target->setUndoRedoEnabled(true);
        m_target->setModified(false);
    }
}

void CommentaryPanel::report(const QString& message)
{
    if (m_reporter)
        m_reporter(message);
}

void CommentaryPanel::showNotice(const QString& message)
{
    if (m_notice && m_notice->isVisible()) {
        if (!m_notice->text().contains(message))
            m_notice->setText(m_notice->text() + QStringLiteral("\n\n") + message);
    } else {
        if (!m_notice) {
            m_notice = new QMessageBox(QMessageBox::Warning, QStringLiteral("Temperature1"), QString(),
                                       QMessageBox::Ok, m_window);
            m_notice->setWindowModality(Qt::NonModal);
            // File names are shown as they are: a folder called <b> is no markup.
            m_notice->setTextFormat(Qt::PlainText);
        }
        m_notice->setText(message);
    }
    m_notice->show();
    m_notice->raise();
}
