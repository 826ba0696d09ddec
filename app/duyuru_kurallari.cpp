#include "duyuru_kurallari.h"

bool kayanYaziGosterilir(const QString& metin)
{
    for (const QChar c : metin) {
        if (c.unicode() > 0x20)
            return true;
    }
    return false;
}

QVector<QString> balonBasliklari(const BalonSayilari& s, const QLocale& yerel)
{
    QLocale bicim = yerel;
    bicim.setNumberOptions(QLocale::OmitGroupSeparator);
    return {
        QString::number(s.sepet) + QStringLiteral("=Sepet"),
        QString::number(s.yeniler) + QStringLiteral("=Yeni Stoklar"),
        QString::number(s.kampanyali) + QStringLiteral("=Kampanyalı"),
        QString::number(s.duyurular) + QStringLiteral("=Duyurular"),
        bicim.toString(s.bakiyeler, 'g', 15) + QStringLiteral("=Bakiyeler"),
    };
}
