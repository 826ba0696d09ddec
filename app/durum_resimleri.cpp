#include "durum_resimleri.h"

#include "cizim.h"

#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace {

constexpr int kBoyut = 24;

QPixmap ciz(const std::function<void(QPainter&)>& ressam)
{
    return ::ciz(kBoyut, ressam);
}

void daire(QPainter& p, const QColor& renk)
{
    p.setPen(QPen(renk.darker(130), 1.2));
    p.setBrush(renk);
    p.drawEllipse(QRectF(2, 2, 20, 20));
}

void beyazKalem(QPainter& p, double kalinlik = 2.4)
{
    p.setPen(QPen(Qt::white, kalinlik, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

QPixmap yok()
{
    return ciz([](QPainter& p) {
        daire(p, QColor(200, 54, 54));
        beyazKalem(p);
        p.drawLine(QPointF(8, 8), QPointF(16, 16));
        p.drawLine(QPointF(16, 8), QPointF(8, 16));
    });
}

QPixmap var()
{
    return ciz([](QPainter& p) {
        daire(p, QColor(46, 150, 72));
        beyazKalem(p);
        p.drawPolyline(QPolygonF({QPointF(7, 12.5), QPointF(10.5, 16), QPointF(17, 8.5)}));
    });
}

QPixmap telefon()
{
    return ciz([](QPainter& p) {
        daire(p, QColor(37, 99, 170));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        QPainterPath ahize;
        ahize.addRoundedRect(QRectF(6, 8, 12, 4), 2, 2);
        ahize.addRoundedRect(QRectF(6, 8, 3.5, 8), 1.5, 1.5);
        ahize.addRoundedRect(QRectF(14.5, 8, 3.5, 8), 1.5, 1.5);
        p.drawPath(ahize.simplified());
    });
}

QPixmap yolda()
{
    return ciz([](QPainter& p) {
        daire(p, QColor(230, 140, 30));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 8, 9, 6));
        p.drawPolygon(QPolygonF({QPointF(14, 10), QPointF(17, 10), QPointF(19, 13), QPointF(19, 14), QPointF(14, 14)}));
        p.setBrush(QColor(230, 140, 30).darker(140));
        p.drawEllipse(QPointF(8, 15.5), 1.8, 1.8);
        p.drawEllipse(QPointF(16, 15.5), 1.8, 1.8);
    });
}

QPixmap ozelSiparis()
{
    return ciz([](QPainter& p) {
        daire(p, QColor(122, 72, 168));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(yildiz(QPointF(12, 12.5), 7.5, 3.2, 5));
    });
}

QPixmap tedarik()
{
    return ciz([](QPainter& p) {
        daire(p, QColor(196, 160, 20));
        beyazKalem(p, 2);
        p.drawEllipse(QRectF(6.5, 6.5, 11, 11));
        p.drawLine(QPointF(12, 12), QPointF(12, 8.5));
        p.drawLine(QPointF(12, 12), QPointF(14.8, 13.6));
    });
}

QPixmap kritik()
{
    return ciz([](QPainter& p) {
        p.setPen(QPen(QColor(170, 90, 0), 1.2));
        p.setBrush(QColor(240, 170, 40));
        p.drawPolygon(QPolygonF({QPointF(12, 2.5), QPointF(22, 21), QPointF(2, 21)}));
        beyazKalem(p, 2.4);
        p.drawLine(QPointF(12, 9), QPointF(12, 14.5));
        p.drawPoint(QPointF(12, 18));
    });
}

} // namespace

const QVector<QPixmap>& durumResimleri()
{
    static const QVector<QPixmap> resimler{yok(), var(), telefon(), yolda(), ozelSiparis(), tedarik(), kritik()};
    return resimler;
}

QString durumAciklamasi(int durum)
{
    static const std::array<const char*, 7> adlar{
        "Yok", "Var", "Telefon Açınız", "Yolda", "Özel Sipariş", "Tedarik Sürecinde", "Kritik"};
    return durum >= 0 && durum < 7 ? QString::fromUtf8(adlar[durum]) : QString();
}

QString durumLejantBasligi(int durum)
{
    static const std::array<const char*, 7> basliklar{" Yok  ",   " Stok mevcut  ",  " Telefon Açınız  ",
                                                      " Yolda  ", " Özel Sipariş  ", " Tedarik Sürecinde ",
                                                      " Kritik"};
    return durum >= 0 && durum < 7 ? QString::fromUtf8(basliklar[durum]) : QString();
}

const QVector<QPixmap>& evetHayirResimleri()
{
    static const QVector<QPixmap> resimler{ciz([](QPainter& p) {
                                               p.setPen(QPen(QColor(160, 170, 180), 1.5));
                                               p.setBrush(Qt::NoBrush);
                                               p.drawEllipse(QRectF(6, 6, 12, 12));
                                           }),
                                           var()};
    return resimler;
}

const QVector<QPixmap>& resimVarResimleri()
{
    static const QVector<QPixmap> resimler{QPixmap(), ciz([](QPainter& p) {
                                               p.setPen(QPen(QColor(60, 75, 95), 1.4));
                                               p.setBrush(QColor(220, 228, 238));
                                               p.drawRoundedRect(QRectF(3, 7, 18, 12), 2, 2);
                                               p.drawRect(QRectF(8, 5, 6, 3));
                                               p.setBrush(QColor(90, 120, 160));
                                               p.drawEllipse(QPointF(12, 13), 3.5, 3.5);
                                           })};
    return resimler;
}

const QVector<QPixmap>& kampanyaResimleri()
{
    static const QVector<QPixmap> resimler{evetHayirResimleri()[0], ciz([](QPainter& p) {
                                               p.setPen(QPen(QColor(150, 30, 40), 1.2));
                                               p.setBrush(QColor(210, 45, 60));
                                               p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(10, 4), QPointF(21, 4),
                                                                        QPointF(21, 20), QPointF(10, 20)}));
                                               p.setPen(Qt::white);
                                               QFont f = p.font();
                                               f.setPixelSize(10);
                                               f.setBold(true);
                                               p.setFont(f);
                                               p.drawText(QRectF(8, 4, 13, 16), Qt::AlignCenter, QStringLiteral("%"));
                                           })};
    return resimler;
}
