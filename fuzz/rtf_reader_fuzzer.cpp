// libFuzzer entry for the rich-text reader: any bytes must give a bounded
// document or a refusal, never a crash, a hang or a sanitizer report.
#include "documents/rtf_reader.h"

#include <QByteArrayView>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Laying out junk makes the font code complain about every odd script.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const t1::RtfReader::Result r =
        t1::RtfReader::read(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!r.document)
        return 0;
    if (r.document->characterCount() > t1::RtfReader::kMaxDocumentChars + 1 ||
        r.document->blockCount() > t1::RtfReader::kMaxParagraphs)
        std::abort();
    // What one layout at once may be given.
    for (QTextBlock b = r.document->firstBlock(); b.isValid(); b = b.next())
        if (b.length() - 1 > t1::RtfReader::kMaxParagraphChars || b.textFormats().size() > t1::RtfReader::kMaxParagraphRuns)
            std::abort();
    // What the window does with a document: copy it and lay it out.
    const std::unique_ptr<QTextDocument> copy(r.document->clone());
    if (copy->characterCount() != r.document->characterCount())
        std::abort();
    copy->setTextWidth(705);
    (void)copy->size();
    return 0;
}
