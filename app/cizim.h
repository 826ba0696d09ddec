#pragma once

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>
#include <functional>

// Helpers of the pictures we draw ourselves.

// A transparent square picture of `boyut` pixels, painted antialiased by `ressam`.
inline QPixmap ciz(int boyut, const std::function<void(QPainter&)>& ressam)
{
    QPixmap resim(boyut, boyut);
    resim.fill(Qt::transparent);
    QPainter p(&resim);
    p.setRenderHint(QPainter::Antialiasing);
    ressam(p);
    return resim;
}

// A star of `uc` points around `merkez`, its tips at `dis` and its notches at `ic`, a tip upwards.
inline QPolygonF yildiz(QPointF merkez, double dis, double ic, int uc)
{
    QPolygonF kose;
    for (int i = 0; i < 2 * uc; ++i) {
        const double r = i % 2 ? ic : dis;
        const double a = -M_PI / 2 + i * M_PI / uc;
        kose << QPointF(merkez.x() + r * std::cos(a), merkez.y() + r * std::sin(a));
    }
    return kose;
}
