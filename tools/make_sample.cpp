// Writes a sample photograph for trying the editor: a sky, hills and a sun.
#include "platform/PictureIO.h"
#include "platform/LumacetError.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: lumacet_sample OUTPUT.jpg\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImage picture(1600, 1067, QImage::Format_RGB32);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, picture.height());
    sky.setColorAt(0, QColor(40, 90, 170));
    sky.setColorAt(0.6, QColor(170, 200, 230));
    p.fillRect(picture.rect(), sky);
    p.setBrush(QColor(255, 220, 120));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(1200, 260), 90, 90);
    QPainterPath hills;
    hills.moveTo(0, 760);
    hills.cubicTo(400, 560, 700, 900, 1000, 700);
    hills.cubicTo(1250, 560, 1450, 720, 1600, 640);
    hills.lineTo(1600, 1067);
    hills.lineTo(0, 1067);
    p.setBrush(QColor(60, 120, 60));
    p.drawPath(hills);
    p.end();
    try {
        PictureIO::saveJpeg(QString::fromLocal8Bit(argv[1]), picture);
    } catch (const LumacetError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
