#include "files/DxfWriter.h"

#include "document/ObjectData.h"
#include "files/DxfNumber.h"
#include "files/DxfTextCodec.h"
#include "shapes/Kreis.h"
#include "shapes/Linie.h"
#include "shapes/Punkt.h"
#include "shapes/Rechteck.h"
#include "shapes/Text.h"

namespace {

// The file is handed to the device in pieces of about this size.
constexpr qsizetype ChunkSize = 1 << 16;

template <typename Number>
void appendNumberLine(std::string &out, Number value)
{
    char buffer[DxfNumber::MaxLineLength + 2];
    const int length = DxfNumber::write(buffer, value);
    buffer[length] = '\r';
    buffer[length + 1] = '\n';
    out.append(buffer, static_cast<std::size_t>(length) + 2);
}

} // namespace

DxfWriter::DxfWriter(const ObjectData &document)
    : m_document(document), m_count(document.GetNumberOfObjects())
{
}

void DxfWriter::line(std::string &out, QByteArrayView text)
{
    out.append(text.data(), static_cast<std::size_t>(text.size()));
    out.append("\r\n", 2);
}

void DxfWriter::numberLine(std::string &out, float value)
{
    appendNumberLine(out, value);
}

void DxfWriter::numberLine(std::string &out, std::int32_t value)
{
    appendNumberLine(out, value);
}

QByteArray DxfWriter::textLine(const QString &text)
{
    return DxfTextCodec::encode(text);
}

void DxfWriter::entityStart(std::string &out, const char *first, const char *type, float x, float y)
{
    line(out, first);
    line(out, type);
    line(out, "8");
    line(out, "0");
    line(out, "10");
    numberLine(out, x);
    line(out, "20");
    numberLine(out, -y);
}

void DxfWriter::lineBlock(std::string &out, const char *first, float x1, float y1, float x2, float y2)
{
    entityStart(out, first, "LINE", x1, y1);
    line(out, "11");
    numberLine(out, x2);
    line(out, "21");
    numberLine(out, -y2);
}

bool DxfWriter::write(QIODevice &device) const
{
    std::string out;
    out.reserve(ChunkSize + 4096);
    auto flush = [&device, &out] {
        const auto size = static_cast<qint64>(out.size());
        const bool written = device.write(out.data(), size) == size;
        out.clear();
        return written;
    };

    line(out, "0");
    line(out, "SECTION");
    line(out, "2");
    line(out, "ENTITIES");
    if (!flush())
        return false;

    for (std::int32_t i = 1; i <= m_count; ++i) {
        const std::shared_ptr<Basisklasse> shape = m_document.GetObject(i);
        if (const auto *kreis = dynamic_cast<const Kreis *>(shape.get())) {
            entityStart(out, "0", "CIRCLE", kreis->getX1(), kreis->getY1());
            line(out, "40");
            numberLine(out, kreis->getRadius());
        } else if (const auto *linie = dynamic_cast<const Linie *>(shape.get())) {
            lineBlock(out, " 0", linie->getX1(), linie->getY1(), linie->getX2(), linie->getY2());
        } else if (const auto *punkt = dynamic_cast<const Punkt *>(shape.get())) {
            entityStart(out, "0", "POINT", punkt->getX1(), punkt->getY1());
        } else if (const auto *rechteck = dynamic_cast<const Rechteck *>(shape.get())) {
            const Rechteck &r = *rechteck;
            lineBlock(out, "0", r.getX1(), r.getY1(), r.getX2(), r.getY2());
            lineBlock(out, " 0", r.getX2(), r.getY2(), r.getX3(), r.getY3());
            lineBlock(out, "0", r.getX3(), r.getY3(), r.getX4(), r.getY4());
            lineBlock(out, "0", r.getX4(), r.getY4(), r.getX1(), r.getY1());
        } else if (const auto *text = dynamic_cast<const Text *>(shape.get())) {
            entityStart(out, "0", "TEXT", text->getX1(), text->getY1());
            line(out, "7");
            line(out, textLine(text->getFont()));
            line(out, "40");
            numberLine(out, text->getFontSize());
            line(out, "1");
            line(out, textLine(text->getText()));
        }
        if (static_cast<qsizetype>(out.size()) >= ChunkSize && !flush())
            return false;
    }

    line(out, "0");
    line(out, "ENDSEC");
    line(out, "0");
    line(out, "EOF");
    return flush();
}
