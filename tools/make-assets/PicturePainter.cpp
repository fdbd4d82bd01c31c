#include "PicturePainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>
#include <initializer_list>

#include "ui/ImageList.h"

namespace makeassets {
namespace {

using namespace tesk::images;

// All pictures are drawn in a 16x16 logical grid. One-unit outlines sit on half-unit
// coordinates so that they cover whole pixels at 16 px.

QPen outline(const QColor& color, qreal width = 1.0) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor& light, const QColor& dark) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    return g;
}

QRadialGradient radial(QPointF centre, qreal radius, const QColor& inner, const QColor& outer) {
    QRadialGradient g(centre, radius);
    g.setColorAt(0, inner);
    g.setColorAt(1, outer);
    return g;
}

// Head and shoulders filling the grid; used by the user pictures.
void drawUser(QPainter& p) {
    // Shoulders: a rounded bust cut off at the bottom edge.
    QPainterPath body;
    body.moveTo(1.5, 15.5);
    body.lineTo(1.5, 13.0);
    body.cubicTo(1.5, 10.5, 4.0, 9.5, 8.0, 9.5);
    body.cubicTo(12.0, 9.5, 14.5, 10.5, 14.5, 13.0);
    body.lineTo(14.5, 15.5);
    body.closeSubpath();
    p.setPen(outline(QColor(0x1f, 0x3f, 0x73)));
    p.setBrush(vertical(9.5, 15.5, QColor(0x5b, 0x8f, 0xd6), QColor(0x2d, 0x5a, 0xa0)));
    p.drawPath(body);

    // Collar.
    QPainterPath collar;
    collar.moveTo(6.0, 9.8);
    collar.lineTo(8.0, 12.0);
    collar.lineTo(10.0, 9.8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf3, 0xc8, 0x9b));
    p.drawPath(collar);

    // Face.
    p.setPen(outline(QColor(0x8a, 0x5a, 0x32)));
    p.setBrush(radial(QPointF(7.0, 4.5), 4.5, QColor(0xfd, 0xdc, 0xb5), QColor(0xe8, 0xb0, 0x80)));
    p.drawEllipse(QRectF(4.5, 1.5, 7.0, 7.5));

    // Hair over the top of the head.
    QPainterPath hair;
    hair.moveTo(4.6, 5.6);
    hair.cubicTo(4.0, 0.2, 12.0, 0.2, 11.4, 5.6);
    hair.cubicTo(10.8, 4.2, 9.2, 3.6, 7.8, 4.0);
    hair.cubicTo(6.6, 4.3, 5.4, 4.2, 4.6, 5.6);
    hair.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5a, 0x3a, 0x1e));
    p.drawPath(hair);
}

// A closed outline through the points, in order.
QPainterPath closedPath(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath starPath(QPointF centre, qreal outer, qreal inner) {
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? outer : inner;
        const qreal angle = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF pt(centre.x() + r * qCos(angle), centre.y() + r * qSin(angle));
        if (i == 0) {
            star.moveTo(pt);
        } else {
            star.lineTo(pt);
        }
    }
    star.closeSubpath();
    return star;
}

void drawSheet(QPainter& p) {
    const QPainterPath page =
        closedPath({{2.5, 0.5}, {10.0, 0.5}, {13.5, 4.0}, {13.5, 15.5}, {2.5, 15.5}});
    p.setPen(outline(QColor(0x70, 0x70, 0x78)));
    p.setBrush(vertical(0, 16, Qt::white, QColor(0xe4, 0xe8, 0xee)));
    p.drawPath(page);

    // Folded corner.
    QPainterPath fold;
    fold.moveTo(10.0, 0.5);
    fold.lineTo(10.0, 4.0);
    fold.lineTo(13.5, 4.0);
    p.setBrush(QColor(0xd0, 0xd4, 0xdc));
    p.drawPath(fold);

    // Text lines at the top.
    p.setPen(outline(QColor(0xa8, 0xb0, 0xbc)));
    p.drawLine(QPointF(4.5, 3.5), QPointF(8.5, 3.5));
    p.drawLine(QPointF(4.5, 5.5), QPointF(11.5, 5.5));

    // Star.
    p.setPen(outline(QColor(0xb0, 0x70, 0x00)));
    p.setBrush(vertical(7, 15, QColor(0xff, 0xe0, 0x40), QColor(0xf5, 0xa6, 0x00)));
    p.drawPath(starPath(QPointF(8.0, 10.6), 4.4, 1.9));
}

void drawUserBadge(QPainter& p) {
    drawUser(p);
    // A round green badge with a white plus in the lower right corner.
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(vertical(9, 16, QColor(0x4c, 0xd0, 0x50), QColor(0x1e, 0x8a, 0x2a)));
    p.drawEllipse(QPointF(12.0, 12.0), 3.5, 3.5);
    p.setPen(outline(Qt::white, 1.4));
    p.drawLine(QPointF(12.0, 10.2), QPointF(12.0, 13.8));
    p.drawLine(QPointF(10.2, 12.0), QPointF(13.8, 12.0));
}

void drawBin(QPainter& p) {
    const QColor edge(0x4a, 0x50, 0x58);
    // Body, slightly narrower at the bottom.
    const QPainterPath body = closedPath({{3.5, 4.5}, {12.5, 4.5}, {11.5, 15.5}, {4.5, 15.5}});
    p.setPen(outline(edge));
    QLinearGradient metal(3, 0, 13, 0);
    metal.setColorAt(0, QColor(0x9a, 0xa2, 0xac));
    metal.setColorAt(0.4, QColor(0xe6, 0xea, 0xee));
    metal.setColorAt(1, QColor(0x8a, 0x92, 0x9c));
    p.setBrush(metal);
    p.drawPath(body);

    // Ribs.
    p.setPen(outline(QColor(0x6a, 0x72, 0x7c)));
    p.drawLine(QPointF(6.0, 6.5), QPointF(6.3, 13.5));
    p.drawLine(QPointF(8.0, 6.5), QPointF(8.0, 13.5));
    p.drawLine(QPointF(10.0, 6.5), QPointF(9.7, 13.5));

    // Lid and handle.
    p.setPen(outline(edge));
    p.setBrush(QColor(0xb8, 0xbe, 0xc6));
    p.drawRoundedRect(QRectF(1.5, 2.5, 13.0, 2.0), 0.8, 0.8);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6.0, 0.5, 4.0, 2.0), 0.6, 0.6);
}

void drawWrench(QPainter& p) {
    // Drawn upright and turned 45 degrees: an open jaw at the top, the handle below.
    p.save();
    p.translate(8.0, 8.0);
    p.rotate(45.0);

    QPainterPath head;
    head.addEllipse(QPointF(0.0, -4.6), 3.6, 3.6);
    QPainterPath handle;
    handle.addRoundedRect(QRectF(-1.4, -3.0, 2.8, 12.2), 1.4, 1.4);
    QPainterPath jaw;
    jaw.addRect(QRectF(-1.3, -9.0, 2.6, 4.6));
    const QPainterPath wrench = head.united(handle).subtracted(jaw);

    p.setPen(outline(QColor(0x3c, 0x44, 0x50)));
    QLinearGradient steel(-3.6, 0, 3.6, 0);
    steel.setColorAt(0, QColor(0xf0, 0xf3, 0xf6));
    steel.setColorAt(1, QColor(0x88, 0x94, 0xa4));
    p.setBrush(steel);
    p.drawPath(wrench);

    // Hole at the end of the handle.
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(0x3c, 0x44, 0x50), 0.8));
    p.drawEllipse(QPointF(0.0, 7.4), 0.6, 0.6);
    p.restore();
}

void drawCheck(QPainter& p, qreal x, qreal y) {
    QPainterPath tick;
    tick.moveTo(x, y);
    tick.lineTo(x + 1.4, y + 1.5);
    tick.lineTo(x + 3.8, y - 1.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(0x1e, 0x9a, 0x2c), 1.6));
    p.drawPath(tick);
}

void drawCheckList(QPainter& p) {
    p.setPen(outline(QColor(0x70, 0x70, 0x78)));
    p.setBrush(vertical(0, 16, Qt::white, QColor(0xe8, 0xec, 0xf2)));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15.0, 15.0), 1.5, 1.5);

    for (int row = 0; row < 3; ++row) {
        const qreal y = 3.5 + row * 4.5;
        drawCheck(p, 2.2, y);
        p.setPen(outline(QColor(0x50, 0x5a, 0x6a), 1.2));
        p.drawLine(QPointF(8.0, y), QPointF(13.5, y));
    }
}

void drawGlobeScreen(QPainter& p) {
    // Monitor behind, upper left.
    const QColor frame(0x3a, 0x40, 0x4a);
    p.setPen(outline(frame));
    p.setBrush(QColor(0x5a, 0x62, 0x6e));
    p.drawRoundedRect(QRectF(0.5, 0.5, 12.0, 9.0), 1.0, 1.0);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(1.5, 8.5, QColor(0xa8, 0xd8, 0xff), QColor(0x4a, 0x90, 0xd8)));
    p.drawRect(QRectF(1.5, 1.5, 10.0, 7.0));
    p.setPen(outline(frame));
    p.setBrush(QColor(0x80, 0x88, 0x94));
    p.drawLine(QPointF(6.5, 9.5), QPointF(6.5, 11.5));
    p.drawLine(QPointF(3.5, 12.5), QPointF(9.5, 12.5));

    // Globe in front, lower right.
    const QPointF c(11.0, 11.0);
    const qreal r = 4.5;
    QRadialGradient sea(QPointF(9.8, 9.6), 5.5);
    sea.setColorAt(0, QColor(0x7c, 0xc8, 0xff));
    sea.setColorAt(1, QColor(0x1a, 0x5c, 0xb8));
    p.setPen(outline(QColor(0x12, 0x3c, 0x7a)));
    p.setBrush(sea);
    p.drawEllipse(c, r, r);

    // Land masses, clipped to the globe.
    QPainterPath ball;
    ball.addEllipse(c, r, r);
    p.save();
    p.setClipPath(ball);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xa8, 0x3c));
    QPainterPath land;
    land.moveTo(7.0, 8.5);
    land.cubicTo(9.0, 7.0, 11.0, 8.0, 10.5, 9.5);
    land.cubicTo(10.0, 11.0, 11.5, 11.5, 10.5, 13.0);
    land.cubicTo(9.5, 14.5, 8.0, 13.0, 8.0, 11.5);
    land.cubicTo(8.0, 10.5, 6.5, 10.0, 7.0, 8.5);
    land.moveTo(12.5, 9.0);
    land.cubicTo(14.0, 8.5, 16.0, 10.0, 15.0, 11.5);
    land.cubicTo(14.5, 12.5, 13.5, 12.0, 13.0, 13.5);
    land.cubicTo(12.0, 12.5, 12.0, 10.0, 12.5, 9.0);
    p.drawPath(land);
    p.restore();

    // Meridian and equator for the globe look.
    p.setPen(outline(QColor(255, 255, 255, 110), 0.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
}

void drawInfo(QPainter& p) {
    p.setPen(outline(QColor(0x0a, 0x36, 0x8a)));
    p.setBrush(radial(QPointF(6.5, 5.0), 9.0, QColor(0x6a, 0xb0, 0xff), QColor(0x10, 0x50, 0xc0)));
    p.drawEllipse(QRectF(0.5, 0.5, 15.0, 15.0));

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.0, 4.4), 1.3, 1.3);
    // Stem with a small serif on the left and a foot.
    const QPainterPath stem = closedPath({{6.3, 6.6},
                                          {9.1, 6.6},
                                          {9.1, 11.6},
                                          {10.0, 11.6},
                                          {10.0, 12.9},
                                          {6.0, 12.9},
                                          {6.0, 11.6},
                                          {6.9, 11.6},
                                          {6.9, 7.9},
                                          {6.3, 7.9}});
    p.drawPath(stem);
}

void drawSquare(QPainter& p, const QColor& fill, const QColor& edge) {
    p.setPen(outline(edge));
    p.setBrush(vertical(1.5, 14.5, fill.lighter(125), fill));
    p.drawRoundedRect(QRectF(1.5, 1.5, 13.0, 13.0), 2.5, 2.5);
}

const QColor kGreyFill(0x9c, 0xa0, 0xa6);
const QColor kGreyEdge(0x55, 0x58, 0x5e);

void drawQuestion(QPainter& p) {
    drawSquare(p, kGreyFill, kGreyEdge);
    QPainterPath hook;
    hook.moveTo(5.6, 6.0);
    hook.cubicTo(5.6, 3.2, 10.4, 3.2, 10.4, 6.0);
    hook.cubicTo(10.4, 7.6, 8.0, 7.8, 8.0, 9.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(Qt::white, 1.8));
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.0, 12.1), 1.1, 1.1);
}

void drawEnvelope(QPainter& p) {
    const QColor edge(0x6a, 0x5a, 0x3a);
    const QRectF rect(0.5, 3.5, 15.0, 10.0);
    p.setPen(outline(edge));
    p.setBrush(vertical(3.5, 13.5, QColor(0xff, 0xfb, 0xef), QColor(0xec, 0xdf, 0xbf)));
    p.drawRect(rect);

    // Bottom folds and the closed flap.
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(edge.lighter(150)));
    p.drawLine(QPointF(0.5, 13.5), QPointF(6.5, 8.5));
    p.drawLine(QPointF(15.5, 13.5), QPointF(9.5, 8.5));
    QPainterPath flap;
    flap.moveTo(0.5, 3.5);
    flap.lineTo(8.0, 9.5);
    flap.lineTo(15.5, 3.5);
    p.setPen(outline(edge));
    p.setBrush(QColor(0xf6, 0xec, 0xd0));
    p.drawPath(flap);
}

void drawMagnifier(QPainter& p) {
    // Handle first so the rim covers its end.
    p.setPen(QPen(QColor(0x3a, 0x24, 0x10), 3.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.2, 10.2), QPointF(14.0, 14.0));
    p.setPen(QPen(QColor(0x9a, 0x60, 0x2a), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.6, 10.6), QPointF(13.9, 13.9));

    QRadialGradient glass(QPointF(5.0, 4.8), 5.5);
    glass.setColorAt(0, QColor(0xff, 0xff, 0xff, 240));
    glass.setColorAt(1, QColor(0x9c, 0xcc, 0xf0, 230));
    p.setPen(QPen(QColor(0x40, 0x48, 0x54), 1.6));
    p.setBrush(glass);
    p.drawEllipse(QPointF(6.5, 6.5), 5.0, 5.0);

    // Shine on the glass.
    p.setPen(outline(Qt::white, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3.5, 3.5, 6.0, 6.0), 100 * 16, 70 * 16);
}

void paint(QPainter& p, int index) {
    switch (index) {
        case kUser:
            drawUser(p);
            break;
        case kSheet:
            drawSheet(p);
            break;
        case kUserBadge:
            drawUserBadge(p);
            break;
        case kBin:
            drawBin(p);
            break;
        case kTools:
            drawWrench(p);
            break;
        case kCheckList:
            drawCheckList(p);
            break;
        case kGlobeScreen:
            drawGlobeScreen(p);
            break;
        case kInfo:
            drawInfo(p);
            break;
        case kSquareGrey:
            drawSquare(p, kGreyFill, kGreyEdge);
            break;
        case kSquareGreen:
            drawSquare(p, QColor(0x2e, 0xb8, 0x3c), QColor(0x14, 0x64, 0x1c));
            break;
        case kSquareYellow:
            drawSquare(p, QColor(0xf2, 0xcc, 0x00), QColor(0x8c, 0x72, 0x00));
            break;
        case kSquareRed:
            drawSquare(p, QColor(0xdc, 0x28, 0x28), QColor(0x80, 0x10, 0x10));
            break;
        case kSquareUnknown:
            drawQuestion(p);
            break;
        case kEnvelope:
            drawEnvelope(p);
            break;
        case kMagnifier:
            drawMagnifier(p);
            break;
        default:
            break;
    }
}

}  // namespace

QImage paintPicture(int index, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(size / 16.0, size / 16.0);
    paint(p, index);
    return image;
}

}  // namespace makeassets
