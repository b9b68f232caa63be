#include "shell/commentary_panel.h"

#include "lessons/lesson_table.h"
#include "picture/colours.h"

#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>

namespace {

// The recurrence box is one line high: the document keeps only a thin margin.
constexpr qreal kRecurrenceMargin = 1;

// A slice of a document going into a box: whole paragraphs up to these
// (a shipped commentary goes in one). The reader bounds what a paragraph
// may cost, so a slice lays out in a few milliseconds.
constexpr int kSliceChars = 4096;
constexpr int kSliceParagraphs = 256;

}  // namespace

CommentaryPanel::CommentaryPanel(QTextEdit* commentary, QTextEdit* recurrence, QWidget* window)
    : m_commentary(commentary),
      m_recurrence(recurrence),
      m_window(window),
      m_library(t1::DocumentLibrary::defaultSearchDirs()),
      m_reporter([this](const QString& message) { showNotice(message); })
{
}

const char* CommentaryPanel::commentaryFile(int sceneTick)
{
    const t1::LessonRow* lesson = t1::lessonAt(sceneTick);
    return lesson ? lesson->commentary : nullptr;
}

void CommentaryPanel::showBox(QTextEdit* box)
{
    box->setEnabled(true);
    box->setVisible(true);
    box->setReadOnly(false);
}

void CommentaryPanel::showCommentary(int sceneTick)
{
    showBox(m_commentary);
    if (const char* file = commentaryFile(sceneTick))
        loadInto(m_commentary, m_commentaryFill, file, m_commentary->document()->documentMargin());
}

void CommentaryPanel::showRecurrence()
{
    showBox(m_recurrence);
    if (m_recurrenceTried)
        return;
    m_recurrenceTried = true;
    loadInto(m_recurrence, m_recurrenceFill, kRecurrenceFile, kRecurrenceMargin);
}

void CommentaryPanel::newRun()
{
    m_recurrenceTried = false;
}

bool CommentaryPanel::loadInto(QTextEdit* box, Fill& fill, const char* fileName, qreal margin)
{
    const t1::DocumentLibrary::Loaded loaded = m_library.load(QString::fromUtf8(fileName));
    if (!loaded.document) {
        report(loaded.error);
        return false;
    }
    // The box gets its own copy, as the student may type in it: the
    // document's settings now, its text by slices. The copy it had before is
    // the box's child, which QTextEdit does not delete when it is given
    // another document: free it here, or every load would stay.
    auto* copy = new QTextDocument(box);
    copy->setDefaultFont(loaded.document->defaultFont());
    copy->setDefaultTextOption(loaded.document->defaultTextOption());
    copy->rootFrame()->setFrameFormat(loaded.document->rootFrame()->frameFormat());
    copy->setDocumentMargin(margin);
    const QPointer<QTextDocument> previous = box->document();
    box->setDocument(copy);
    if (previous && previous->parent() == box)
        delete previous.data();
    fill.start(loaded.document, copy);
    // Text the document leaves in the automatic colour is black, as in a
    // word processor, whatever colour the window gives its own texts.
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, QColor::fromRgb(t1::colour::black));
    box->setPalette(pal);
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
    if (!loaded.notice.isEmpty())
        report(loaded.notice);
    return true;
}

CommentaryPanel::Fill::Fill()
{
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { step(); });
}

void CommentaryPanel::Fill::start(std::shared_ptr<const QTextDocument> source, QTextDocument* target)
{
    m_source = std::move(source);
    m_target = target;
    m_next = m_source->begin();
    m_firstBlock = true;
    // The copy is not the student's to undo.
    m_target->setUndoRedoEnabled(false);
    step();
    if (m_next.isValid())
        m_timer.start();
}

void CommentaryPanel::Fill::step()
{
    if (!m_target) {  // replaced by another document
        m_timer.stop();
        m_source.reset();
        return;
    }
    QTextCursor cursor(m_target);
    cursor.movePosition(QTextCursor::End);
    // One edit per slice: the box lays the slice out once, at its end.
    cursor.beginEditBlock();
    int paragraphs = 0;
    for (int chars = 0; m_next.isValid() && chars < kSliceChars && paragraphs < kSliceParagraphs;
         m_next = m_next.next(), ++paragraphs) {
        if (m_firstBlock) {
            cursor.setBlockFormat(m_next.blockFormat());
            cursor.setBlockCharFormat(m_next.charFormat());
            m_firstBlock = false;
        } else {
            cursor.insertBlock(m_next.blockFormat(), m_next.charFormat());
        }
        for (auto run = m_next.begin(); !run.atEnd(); ++run)
            cursor.insertText(run.fragment().text(), run.fragment().charFormat());
        chars += m_next.length();
    }
    cursor.endEditBlock();
    if (m_next.isValid())
        return;
    m_timer.stop();
    m_source.reset();
    m_target->setUndoRedoEnabled(true);
    m_target->setModified(false);
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
