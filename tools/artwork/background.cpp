#include "background.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr int width = 1024;
constexpr int height = 768;

QColor slate(int alpha, int lightness = 0) {
    return QColor(0x7d + lightness, 0x92 + lightness, 0xab + lightness, alpha);
}

void paintGround(QPainter &painter) {
    QLinearGradient ground(0, 0, width, height);
    ground.setColorAt(0, QColor(0xf3, 0xf4, 0xf6));
    ground.setColorAt(1, QColor(0xe1, 0xe5, 0xea));
    painter.fillRect(0, 0, width, height, ground);
}

// A disc whose rim fades out, so overlapping discs blend instead of showing hard edges.
void paintDisc(QPainter &painter, QPointF centre, qreal radius, const QColor &color) {
    QRadialGradient fill(centre, radius);
    QColor clear = color;
    clear.setAlpha(0);
    fill.setColorAt(0, color);
    fill.setColorAt(0.82, color);
    fill.setColorAt(1, clear);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(centre, radius, radius);
}

void paintRing(QPainter &painter, QPointF centre, qreal radius, qreal thickness,
               const QColor &color) {
    painter.setPen(QPen(color, thickness));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
}

// A crescent between two curves that meet at its ends, clear at its lower left and darkening
// as it sweeps up to the right across the discs.
void paintSwoosh(QPainter &painter, QPointF start, QPointF end, qreal thickness, int alpha) {
    const QPointF run = end - start;
    const QPointF near(start.x() + run.x() * 0.3, start.y() + run.y() * 0.1);
    const QPointF far(start.x() + run.x() * 0.7, start.y() + run.y() * 0.45);
    const QPointF bulge(thickness * 0.5, thickness);

    QPainterPath swoosh;
    swoosh.moveTo(start);
    swoosh.cubicTo(near, far, end);
    swoosh.cubicTo(far + bulge, near + bulge, start);

    QLinearGradient fill(start, end);
    fill.setColorAt(0, slate(0));
    fill.setColorAt(0.4, slate(alpha / 2, -10));
    fill.setColorAt(1, slate(alpha, -30));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(swoosh);
}

} // namespace

QImage paintBackground() {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintGround(painter);

    // Centred in the right half but reaching left past the middle, so that the corner of the
    // picture a small window shows still holds part of the figure.
    const QPointF centre(680, 290);
    paintDisc(painter, centre, 330, slate(45, 40));
    paintDisc(painter, centre + QPointF(-170, 130), 190, slate(50, 30));
    paintDisc(painter, centre + QPointF(150, -120), 230, slate(55, 10));
    paintDisc(painter, centre + QPointF(-40, -50), 130, slate(60, 50));

    paintRing(painter, centre, 255, 2, slate(80, 20));
    paintRing(painter, centre + QPointF(-40, -50), 175, 1, slate(90, 10));
    paintSwoosh(painter, QPointF(340, 540), QPointF(1010, 40), 34, 200);
    paintSwoosh(painter, QPointF(450, 630), QPointF(1020, 150), 14, 120);
    painter.end();
    return image;
}
