#include "shell/commentary_panel.h"

#include "lessons/lesson_table.h"
#include "picture/colours.h"

#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>


namespace {

// The recurrence box is one line high: the document keeps only a thin margin.
constexpr qreal kRecurrenceMargin = 1;

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
        loadInto(m_commentary, file, m_commentary->document()->documentMargin());
}

void CommentaryPanel::showRecurrence()
{
    showBox(m_recurrence);
    if (m_recurrenceTried)
        return;
    m_recurrenceTried = true;
    loadInto(m_recurrence, kRecurrenceFile, kRecurrenceMargin);
}

void CommentaryPanel::newRun()
{
    m_recurrenceTried = false;
}

bool CommentaryPanel::loadInto(QTextEdit* box, const char* fileName, qreal margin)
{
    const t1::DocumentLibrary::Loaded loaded = m_library.load(QString::fromUtf8(fileName));
    if (!loaded.document) {
        report(loaded.error);
        return false;
    }
    // The box gets its own copy, as the student may type in it. The copy it
    // had before is the box's child, which QTextEdit does not delete when it
    // is given another document: free it here, or every load would stay.
    QTextDocument* copy = loaded.document->clone(box);
    copy->setDocumentMargin(margin);
    const QPointer<QTextDocument> previous = box->document();
    box->setDocument(copy);
    if (previous && previous->parent() == box)
        delete previous.data();
    // Text the document leaves in the automatic colour is black, as in a
    // word processor, whatever colour the window gives its own texts.
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, QColor::fromRgb(t1::colour::black));
    box->setPalette(pal);
    box->moveCursor(QTextCursor::Start);
    box->verticalScrollBar()->setValue(0);
    return true;
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
        }
        m_notice->setText(message);
    }
    m_notice->show();
    m_notice->raise();
}
