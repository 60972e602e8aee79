#include "files/DxfCodePage.h"

#include "files/DxfNumber.h"
#include "files/DxfTextCodec.h"

#include <QStringDecoder>

#include <array>

namespace {

struct Known
{
    const char *dxfName;
    const char *decoderName;
};

// The names that CAD programs write; the "dos" ones come from older programs. Windows-1252 itself
// (ANSI_1252) and names not listed fall back to the default.
constexpr std::array<Known, 26> KnownCodePages = {{
    {"ANSI_874", "windows-874"},
    {"ANSI_932", "windows-31j"},
    {"ANSI_936", "GBK"},
    {"ANSI_949", "windows-949"},
    {"ANSI_950", "windows-950"},
    {"ANSI_1250", "windows-1250"},
    {"ANSI_1251", "windows-1251"},
    {"ANSI_1253", "windows-1253"},
    {"ANSI_1254", "windows-1254"},
    {"ANSI_1255", "windows-1255"},
    {"ANSI_1256", "windows-1256"},
    {"ANSI_1257", "windows-1257"},
    {"ANSI_1258", "windows-1258"},
    {"DOS437", "IBM437"},
    {"DOS850", "IBM850"},
    {"DOS852", "IBM852"},
    {"DOS855", "IBM855"},
    {"DOS857", "IBM857"},
    {"DOS860", "IBM860"},
    {"DOS861", "IBM861"},
    {"DOS863", "IBM863"},
    {"DOS864", "IBM864"},
    {"DOS865", "IBM865"},
    {"DOS866", "IBM866"},
    {"DOS869", "IBM869"},
    {"DOS932", "windows-31j"},
}};

} // namespace

DxfCodePage DxfCodePage::utf8()
{
    return DxfCodePage("UTF-8");
}

DxfCodePage DxfCodePage::named(QByteArrayView name)
{
    const QByteArrayView trimmed = DxfNumber::trimmed(name);
    for (const Known &known : KnownCodePages)
        // Qt reads these code pages only when it was built with ICU, as Debian's is.
        if (trimmed.compare(QByteArrayView(known.dxfName), Qt::CaseInsensitive) == 0
            && QStringDecoder(known.decoderName).isValid())
            return DxfCodePage(known.decoderName);
    return DxfCodePage();
}

QString DxfCodePage::toUnicode(QByteArrayView bytes) const
{
    if (!m_decoderName)
        return DxfTextCodec::fromWindows1252(bytes);
    // Each text on its own: a character cut off at the end of one does not reach into the next.
    return QStringDecoder(m_decoderName, QStringDecoder::Flag::Stateless).decode(bytes);
}
