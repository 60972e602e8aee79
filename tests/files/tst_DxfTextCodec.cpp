// Texts of DXF files: Windows-1252 bytes, \U+XXXX escapes for the rest, and back without loss.

#include "files/DxfTextCodec.h"

#include <QTest>

class tst_DxfTextCodec : public QObject
{
    Q_OBJECT

private slots:
    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII with blanks") << QStringLiteral("  Hallo Welt ") << QByteArray("  Hallo Welt ");
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("umlauts") << QStringLiteral("Größe äÖü") << QByteArray("Gr\xF6\337e \xE4\xD6\xFC");
        QTest::newRow("euro and quotes") << QStringLiteral("€ „x“ …") << QByteArray("\x80 \x84x\x93 \x85");
        QTest::newRow("outside the code page") << QStringLiteral("Ω≈") << QByteArray("\\U+03A9\\U+2248");
        QTest::newRow("beyond 16 bits") << QStringLiteral("😀") << QByteArray("\\U+D83D\\U+DE00");
        QTest::newRow("undefined byte's character") << QStringLiteral("\u0081") << QByteArray("\\U+0081");
        QTest::newRow("control character") << QStringLiteral("a\u0001z") << QByteArray("a\\U+0001z");
        QTest::newRow("control character before hex digits")
            << QStringLiteral("\u0001ABCD\u0010f") << QByteArray("\\U+0001\\U+0041BCD\\U+0010\\U+0066");
        QTest::newRow("tab stays") << QStringLiteral("a\tb") << QByteArray("a\tb");
        QTest::newRow("backslash stays") << QStringLiteral("C:\\Pläne\\U1") << QByteArray("C:\\Pl\xE4ne\\U1");
        QTest::newRow("backslash that would start an escape")
            << QStringLiteral("\\U+0041") << QByteArray("\\U+005CU+0041");
    }

    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(DxfTextCodec::encode(text), bytes);
        QCOMPARE(DxfTextCodec::decode(bytes, DxfCodePage()), text);
    }

    // Every 16-bit unit but CR and LF (which the writer turns into blanks) comes back unchanged.
    void everyCharacterComesBack()
    {
        QString all;
        for (char32_t c = 0; c <= 0xFFFF; ++c)
            if (c != u'\r' && c != u'\n')
                all.append(QChar(char16_t(c)));
        all.append(QStringLiteral("\\U+\\U+12\\U+zzzz\\"));
        const QByteArray bytes = DxfTextCodec::encode(all);
        QVERIFY(!bytes.contains('\r'));
        QVERIFY(!bytes.contains('\n'));
        QCOMPARE(DxfTextCodec::decode(bytes, DxfCodePage()), all);
    }

    void windows1252Bytes()
    {
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(char(b));
        const QString text = DxfTextCodec::fromWindows1252(high);
        QCOMPARE(text.size(), 128);
        QCOMPARE(text.at(0x00), QChar(0x20AC));
        QCOMPARE(text.at(0x01), QChar(0x0081));
        QCOMPARE(text.at(0x0A), QChar(0x0160));
        QCOMPARE(text.at(0x1F), QChar(0x0178));
        QCOMPARE(text.at(0x20), QChar(0x00A0));
        QCOMPARE(text.at(0x7F), QChar(0x00FF));
        for (int i = 0; i < 128; ++i)
            if (i != 0x01 && i != 0x0D && i != 0x0F && i != 0x10 && i != 0x1D)
                QCOMPARE(DxfTextCodec::toWindows1252(text.at(i).unicode()), 0x80 + i);
        QCOMPARE(DxfTextCodec::toWindows1252(0x0081), -1);
        QCOMPARE(DxfTextCodec::toWindows1252(0x03A9), -1);
    }

    void unescape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("upper case") << QStringLiteral("a\\U+00C4b") << QStringLiteral("aÄb");
        QTest::newRow("lower case") << QStringLiteral("\\U+00e4") << QStringLiteral("ä");
        QTest::newRow("eight digits") << QStringLiteral("\\U+0001F600!") << QStringLiteral("😀!");
        QTest::newRow("four digits before hex text") << QStringLiteral("\\U+00E4abcd") << QStringLiteral("äabcd");
        QTest::newRow("too few digits") << QStringLiteral("\\U+12") << QStringLiteral("\\U+12");
        QTest::newRow("not hex") << QStringLiteral("\\U+00G1") << QStringLiteral("\\U+00G1");
        QTest::newRow("lower-case u is no escape") << QStringLiteral("\\u+00E4") << QStringLiteral("\\u+00E4");
        QTest::newRow("at the end") << QStringLiteral("x\\U+") << QStringLiteral("x\\U+");
        QTest::newRow("two in a row") << QStringLiteral("\\U+03A9\\U+03A9") << QStringLiteral("ΩΩ");
    }

    void unescape()
    {
        QFETCH(QString, text);
        QFETCH(QString, decoded);
        QCOMPARE(DxfTextCodec::unescape(text), decoded);
    }

    void utf8()
    {
        const QByteArray bytes = QStringLiteral("Grüße \\U+03A9 Ω").toUtf8();
        QCOMPARE(DxfTextCodec::decode(bytes, DxfCodePage::utf8()), QStringLiteral("Grüße Ω Ω"));
        // The same bytes read as Windows-1252 are not the text: the encoding matters.
        QVERIFY(DxfTextCodec::decode(bytes, DxfCodePage()) != QStringLiteral("Grüße Ω Ω"));
    }
};

QTEST_GUILESS_MAIN(tst_DxfTextCodec)
#include "tst_DxfTextCodec.moc"
