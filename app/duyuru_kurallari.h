#pragma once

#include <QLocale>
#include <QString>
#include <QVector>

// Rules of the notices shown after the login.

// The news line shows a text only when something is left of it once blanks and control
// characters are taken off both ends; it is then shown as received.
bool kayanYaziGosterilir(const QString& metin);

// One row of the tab counts: basket, new stock, campaign stock, announcements, balances.
struct BalonSayilari {
    qint32 sepet = 0;
    qint32 yeniler = 0;
    qint32 kampanyali = 0;
    qint32 duyurular = 0;
    double bakiyeler = 0;
};
// The five captions in that order: the count, then "=Sepet", "=Yeni Stoklar", "=Kampanyalı",
// "=Duyurular", "=Bakiyeler"; the balances figure in the general format (up to 15 significant
// digits, the locale's decimal separator, no grouping).
QVector<QString> balonBasliklari(const BalonSayilari& sayilar, const QLocale& yerel = QLocale());
