#include "files/DxfWriter.h"

#include "document/ObjectData.h"
#include "files/DxfNumber.h"
#include "files/DxfTextCodec.h"
#include "shapes/DxfEntitySink.h"

#include <string>

namespace {

// The file is handed to the device in pieces of about this size.
constexpr qsizetype ChunkSize = 1 << 16;

// The lines of the file, collected until they are handed to the device.
class FileLines : public DxfEntitySink
{
public:
    std::string out;

    void line(QByteArrayView text)
    {
        out.append(text.data(), static_cast<std::size_t>(text.size()));
        out.append("\r\n", 2);
    }

    void beginEntity(const char *first, const char *type) override
    {
        line(first);
        line(type);
        line("8");
        line("0");
    }
    void point(const char *xCode, const char *yCode, float x, float y) override
    {
        number(xCode, x);
        number(yCode, -y);
    }
    void number(const char *code, float value) override
    {
        line(code);
        numberLine(value);
    }
    void number(const char *code, std::int32_t value) override
    {
        line(code);
        numberLine(value);
    }
    // A text or font name: Windows-1252 with escapes, a CR or LF among them, so that it stays one
    // line and reads back unchanged.
    void text(const char *code, const QString &value) override
    {
        line(code);
        line(DxfTextCodec::encode(value));
    }

private:
    template <typename Number>
    void numberLine(Number value)
    {
        char buffer[DxfNumber::MaxLineLength + 2];
        const int length = DxfNumber::write(buffer, value);
        buffer[length] = '\r';
        buffer[length + 1] = '\n';
        out.append(buffer, static_cast<std::size_t>(length) + 2);
    }
};

} // namespace

DxfWriter::DxfWriter(const ObjectData &document)
    : m_document(document), m_count(document.GetNumberOfObjects())
{
}

bool DxfWriter::write(QIODevice &device, const std::function<bool(double done)> &goOn) const
{
    FileLines lines;
    lines.out.reserve(ChunkSize + 4096);
    auto flush = [&device, &lines] {
        const auto size = static_cast<qint64>(lines.out.size());
        const bool written = device.write(lines.out.data(), size) == size;
        lines.out.clear();
        return written;
    };

    lines.out.append("0\r\nSECTION\r\n2\r\nENTITIES\r\n");
    if (!flush())
        return false;

    for (std::int32_t i = 1; i <= m_count; ++i) {
        m_document.GetObject(i)->writeDxf(lines);
        if (static_cast<qsizetype>(lines.out.size()) >= ChunkSize
            && (!flush() || (goOn && !goOn(double(i) / m_count))))
            return false;
    }

    lines.out.append("0\r\nENDSEC\r\n0\r\nEOF\r\n");
    return flush();
}
