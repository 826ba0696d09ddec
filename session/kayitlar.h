#pragma once

#include "platform/record.h"

#include <QString>

// Records of the session unit that travel to and from the server.

// The session record: the user, his customer account, his representative and this computer.
class TSonucBilgisi {
public:
    static constexpr const char* wireType = "baglantiu.TSonucBilgisi";

    VELMORA_ALAN(QString, BILGISAYARID)
    VELMORA_ALAN(QString, SaticiMail)
    VELMORA_ALAN(qint32, Sirano)
    VELMORA_ALAN(QString, CariAdi)
    VELMORA_ALAN(QString, SIFRE)
    VELMORA_ALAN(qint32, SaticiNo)
    VELMORA_ALAN(qint32, CARINO)
    VELMORA_ALAN(qint32, AKTIF)
    VELMORA_ALAN(QString, Kullanicimail)
    VELMORA_ALAN(QString, ADI)
    VELMORA_ALAN(QString, SaticiTelefon)
    VELMORA_ALAN(QString, carikod)
    VELMORA_ALAN(bool, Varmi)
    VELMORA_ALAN(QString, SaticiAdi)
    VELMORA_ALAN(QString, BilgiSayarAdi)
    VELMORA_ALAN(QString, Disip)
    VELMORA_ALAN(QString, Icip)
    VELMORA_ALAN(QString, BilgisayarKullanici)
    VELMORA_ALAN_ILK(qint32, MusteriTipi, 1)
    VELMORA_ALAN_ILK(qint32, Version, 1)

public:
    void Kopyala(const TSonucBilgisi& source) { *this = source; }

    template <class V> void alanlar(V&& v)
    {
        v("FBILGISAYARID", FBILGISAYARID);
        v("FSaticiMail", FSaticiMail);
        v("FSirano", FSirano);
        v("FCariAdi", FCariAdi);
        v("FSIFRE", FSIFRE);
        v("FSaticiNo", FSaticiNo);
        v("FCARINO", FCARINO);
        v("FAKTIF", FAKTIF);
        v("FKullanicimail", FKullanicimail);
        v("FADI", FADI);
        v("FSaticiTelefon", FSaticiTelefon);
        v("Fcarikod", Fcarikod);
        v("FVarmi", FVarmi);
        v("FSaticiAdi", FSaticiAdi);
        v("FBilgiSayarAdi", FBilgiSayarAdi);
        v("FDisip", FDisip);
        v("FIcip", FIcip);
        v("FBilgisayarKullanici", FBilgisayarKullanici);
        v("FMusteriTipi", FMusteriTipi);
        v("FVersion", FVersion);
    }
};

// Footer of an order.
class TSiparisDipAyrinti {
public:
    static constexpr const char* wireType = "baglantiu.TSiparisDipAyrinti";

    VELMORA_ALAN(QString, SizinMesaj)
    VELMORA_ALAN(QString, Durumu)
    VELMORA_ALAN(QString, Veren)
    VELMORA_ALAN(QString, Kargo)
    VELMORA_ALAN(QString, BizimMesaj)
    VELMORA_ALAN(QString, TeslimCinsi)
    VELMORA_ALAN(QString, KargoCinsi)
    VELMORA_ALAN(QString, SaticiNotu)

public:
    void Kopyala(const TSiparisDipAyrinti& source) { *this = source; }

    template <class V> void alanlar(V&& v)
    {
        v("FSizinMesaj", FSizinMesaj);
        v("FDurumu", FDurumu);
        v("FVeren", FVeren);
        v("FKargo", FKargo);
        v("FBizimMesaj", FBizimMesaj);
        v("FTeslimCinsi", FTeslimCinsi);
        v("FKargoCinsi", FKargoCinsi);
        v("FSaticiNotu", FSaticiNotu);
    }
};

// Counts of a representative's orders in each state.
class TTusSonuclari {
public:
    static constexpr const char* wireType = "baglantiu.TTusSonuclari";

    VELMORA_ALAN(qint32, Alindi)
    VELMORA_ALAN(qint32, Onaylandi)
    VELMORA_ALAN(qint32, ParcaliHazirlandi)
    VELMORA_ALAN(qint32, SevkEdildi)
    VELMORA_ALAN(qint32, Hazirlandi)
    VELMORA_ALAN(qint32, Goruldu)

public:
    void Kopyala(const TTusSonuclari& source) { *this = source; }

    template <class V> void alanlar(V&& v)
    {
        v("FAlindi", FAlindi);
        v("FOnaylandi", FOnaylandi);
        v("FParcaliHazirlandi", FParcaliHazirlandi);
        v("FSevkEdildi", FSevkEdildi);
        v("FHazirlandi", FHazirlandi);
        v("FGoruldu", FGoruldu);
    }
};
