#include "documents/rtf_reader.h"

#include "documents/rtf_parser.h"

#include <QTextDocument>

#include <string_view>

namespace t1 {

RtfReader::Result RtfReader::read(QByteArrayView data)
{
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    qsizetype start = 0;
    if (data.startsWith(QByteArrayView(kBom.data(), qsizetype(kBom.size()))))
        start = qsizetype(kBom.size());
    while (start < data.size() && std::string_view(" \t\r\n\f\v").find(data[start]) != std::string_view::npos)
        ++start;

    Result result;
    if (start == data.size())
        result.problem = Problem::Empty;
    else if (!data.sliced(start).startsWith("{\\rtf"))
        result.problem = Problem::NotRtf;
    else
        result = rtf::Parser(data.sliced(start)).run();
    return result;
}

}  // namespace t1
