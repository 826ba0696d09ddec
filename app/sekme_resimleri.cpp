#include "sekme_resimleri.h"

#include "cizim.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

const QColor kMavi(31, 78, 121);
const QColor kAcikMavi(214, 228, 242);

void kalem(QPainter& p, const QColor& renk, double kalinlik = 2)
{
    p.setPen(QPen(renk, kalinlik, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void buyutec(QPainter& p, QPointF merkez, double yaricap)
{
    kalem(p, kMavi, yaricap / 2.6);
    p.setBrush(kAcikMavi);
    p.drawEllipse(merkez, yaricap, yaricap);
    const double k = yaricap * 0.72;
    p.drawLine(merkez + QPointF(k, k), merkez + QPointF(k * 2.1, k * 2.1));
}

// A sheet of paper with ruled lines.
void kagit(QPainter& p, const QRectF& alan, int cizgi)
{
    kalem(p, kMavi, 1.6);
    p.setBrush(Qt::white);
    p.drawRoundedRect(alan, 2, 2);
    kalem(p, QColor(120, 140, 165), 1.4);
    for (int i = 0; i < cizgi; ++i) {
        const double y = alan.top() + 6 + i * 4.5;
        p.drawLine(QPointF(alan.left() + 4, y), QPointF(alan.right() - 4, y));
    }
}

QPixmap stokListesi()
{
    return ciz(32, [](QPainter& p) {
        kagit(p, QRectF(3, 3, 20, 25), 5);
        buyutec(p, QPointF(21, 19), 5.5);
    });
}

QPixmap ekstre()
{
    return ciz(32, [](QPainter& p) {
        kagit(p, QRectF(5, 2, 22, 28), 3);
        kalem(p, QColor(46, 150, 72), 2.2);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(9, 26), QPointF(14, 21), QPointF(18, 23), QPointF(24, 17)}));
    });
}

QPixmap dosyalar()
{
    return ciz(32, [](QPainter& p) {
        kalem(p, QColor(170, 120, 20), 1.6);
        p.setBrush(QColor(240, 196, 90));
        QPainterPath klasor;
        klasor.moveTo(3, 8);
        klasor.lineTo(12, 8);
        klasor.lineTo(15, 11);
        klasor.lineTo(29, 11);
        klasor.lineTo(29, 27);
        klasor.lineTo(3, 27);
        klasor.closeSubpath();
        p.drawPath(klasor);
        p.setBrush(QColor(250, 214, 120));
        p.drawRect(QRectF(3, 14, 26, 13));
    });
}

QPixmap oncekiSiparisler()
{
    return ciz(32, [](QPainter& p) {
        kagit(p, QRectF(3, 2, 20, 26), 4);
        kalem(p, kMavi, 1.8);
        p.setBrush(QColor(255, 250, 230));
        p.drawEllipse(QPointF(22, 22), 8, 8);
        p.drawLine(QPointF(22, 22), QPointF(22, 17));
        p.drawLine(QPointF(22, 22), QPointF(25.5, 24));
    });
}

QPixmap duyurular()
{
    return ciz(32, [](QPainter& p) {
        kalem(p, kMavi, 1.6);
        p.setBrush(kAcikMavi);
        p.drawPolygon(QPolygonF(
            {QPointF(4, 12), QPointF(11, 12), QPointF(24, 5), QPointF(24, 27), QPointF(11, 20), QPointF(4, 20)}));
        p.drawRect(QRectF(8, 20, 4, 7));
        kalem(p, QColor(210, 45, 60), 2);
        p.drawLine(QPointF(27, 11), QPointF(30, 9));
        p.drawLine(QPointF(27.5, 16), QPointF(31, 16));
        p.drawLine(QPointF(27, 21), QPointF(30, 23));
    });
}

QPixmap kampanyali()
{
    return ciz(32, [](QPainter& p) {
        kalem(p, QColor(150, 30, 40), 1.6);
        p.setBrush(QColor(210, 45, 60));
        p.drawPolygon(QPolygonF({QPointF(2, 16), QPointF(12, 5), QPointF(30, 5), QPointF(30, 27), QPointF(12, 27)}));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(10, 16), 2, 2);
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setPixelSize(15);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(13, 5, 17, 22), Qt::AlignCenter, QStringLiteral("%"));
    });
}

QPixmap bakiyeler()
{
    return ciz(32, [](QPainter& p) {
        kalem(p, kMavi, 1.6);
        p.drawLine(QPointF(3, 28), QPointF(29, 28));
        const QColor renkler[]{QColor(58, 110, 165), QColor(230, 140, 30), QColor(46, 150, 72)};
        const double boylar[]{12, 20, 8};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(renkler[i]);
            p.drawRect(QRectF(5 + i * 8.5, 28 - boylar[i], 6, boylar[i]));
        }
    });
}

QPixmap sepet()
{
    return ciz(32, [](QPainter& p) {
        kalem(p, kMavi, 2);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(2, 5), QPointF(7, 5), QPointF(11, 21), QPointF(26, 21)}));
        p.setBrush(kAcikMavi);
        p.drawPolygon(QPolygonF({QPointF(8, 9), QPointF(29, 9), QPointF(26, 18), QPointF(10.5, 18)}));
        p.setBrush(kMavi);
        p.drawEllipse(QPointF(13, 26), 2.2, 2.2);
        p.drawEllipse(QPointF(24, 26), 2.2, 2.2);
    });
}

QPixmap yeniStoklar()
{
    return ciz(32, [](QPainter& p) {
        kalem(p, QColor(170, 120, 0), 1.4);
        p.setBrush(QColor(245, 190, 40));
        p.drawPolygon(yildiz(QPointF(16, 16), 15, 11, 12));
        p.setPen(QColor(120, 60, 0));
        QFont f = p.font();
        f.setPixelSize(8);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(4, 4, 24, 24), Qt::AlignCenter, QStringLiteral("YENİ"));
    });
}

} // namespace

QPixmap sekmeResmi(int indeks)
{
    static const QHash<int, QPixmap> resimler{
        {0, stokListesi()}, {1, ekstre()},    {2, dosyalar()}, {3, oncekiSiparisler()}, {5, duyurular()},
        {6, kampanyali()},  {7, bakiyeler()}, {8, sepet()},    {10, yeniStoklar()},
    };
    return resimler.value(indeks);
}

QPixmap buyutecResmi()
{
    return ciz(24, [](QPainter& p) { buyutec(p, QPointF(10, 10), 6); });
}
