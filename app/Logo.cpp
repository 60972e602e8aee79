#include "app/Logo.h"

#include <QFont>
#include <QPainter>

QImage Logo::create(qreal devicePixelRatio)
{
    // Drawn in device pixels, untransformed: a scaling painter would smooth the letters' edges.
    const QRect area(0, 0, qRound(Width * devicePixelRatio), qRound(Height * devicePixelRatio));
    const int shadow = qRound(5 * devicePixelRatio);
    QImage canvas(area.size(), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(qRound(64 * devicePixelRatio));
        font.setBold(true);
        font.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(font);
        const QString name = QStringLiteral("Skizzar");
        painter.setPen(QColor(0x80, 0x80, 0x80));
        painter.drawText(area.translated(shadow, shadow), Qt::AlignCenter, name);
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, name);
    }
    canvas.setDevicePixelRatio(devicePixelRatio);
    QImage logo = canvas.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    // 96 dots per inch of the logo's own pixels: 3780 per metre, times the ratio in device pixels.
    logo.setDotsPerMeterX(qRound(3780 * devicePixelRatio));
    logo.setDotsPerMeterY(qRound(3780 * devicePixelRatio));
    return logo;
}
