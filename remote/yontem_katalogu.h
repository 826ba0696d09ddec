#pragma once

#include <QString>
#include <QVector>

// The remote methods of TServerMethods1 that this system uses: parameter kinds in declaration
// order, output parameters and the result. Client and server read the same table, so the two
// sides cannot disagree on an ordinal or a kind.

enum class DegerTipi {
    Yok,     // no result
    Metin,   // text
    Tamsayi, // 32-bit integer
    Tamsayi64,
    Ondalik, // double
    Mantiksal,
    Kayit,   // a record; `kayitTipi` names its wire type
    Okuyucu, // a table read once (reader)
    Paket,   // a data packet (a table assigned whole)
    Akis,    // a stream
};

struct Parametre {
    const char* ad;
    DegerTipi tip;
    const char* kayitTipi = nullptr;
};

struct UzakYontem {
    const char* ad;
    QVector<Parametre> girdiler;
    QVector<Parametre> ciktilar;
    Parametre sonuc;
};

const QVector<UzakYontem>& uzakYontemler();
// nullptr when the method is not in the catalogue.
const UzakYontem* uzakYontemBul(const QString& ad);
QString degerTipiAdi(DegerTipi tip);
