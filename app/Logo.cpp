#include "app/Logo.h"

#include <QFont>
#include <QPainter>

QImage Logo::create()
{
    QImage canvas(Width, Height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(64);
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(font);
        const QRect area(0, 0, Width, Height);
        const QString name = QStringLiteral("Skizzar");
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawText(area.translated(5, 5), Qt::AlignCenter, name);
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, name);
    }
    QImage logo = canvas.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    // 3780 pixels per metre: 96 dots per inch.
    logo.setDotsPerMeterX(3780);
    logo.setDotsPerMeterY(3780);
    return logo;
}
