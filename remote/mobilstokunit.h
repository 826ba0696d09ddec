#pragma once

#include "platform/record.h"

#include <QString>

// Details of a customer account.
class TMobilCariBilgisi {
public:
    static constexpr const char* wireType = "mobilstokunit.TMobilCariBilgisi";

    VELMORA_ALAN(QString, BILGISAYARID)
    VELMORA_ALAN(QString, SEHIR)
    VELMORA_ALAN(QString, FAX1)
    VELMORA_ALAN(QString, SATICIMAIL)
    VELMORA_ALAN(QString, SATICIADI)
    VELMORA_ALAN(QString, CARIADI)
    VELMORA_ALAN(QString, EMAIL)
    VELMORA_ALAN(QString, VERGIDAIRESI)
    VELMORA_ALAN(QString, YETKILI)
    VELMORA_ALAN(QString, AltGrup)
    VELMORA_ALAN(QString, TEL2)
    VELMORA_ALAN(QString, SIFRE)
    VELMORA_ALAN(QString, GSM)
    VELMORA_ALAN(QString, TEL1)
    VELMORA_ALAN(QString, ADRES2)
    VELMORA_ALAN(double, TLBORC)
    VELMORA_ALAN(double, TLALACAK)
    VELMORA_ALAN(QString, ADRES1)
    VELMORA_ALAN(QString, ULKE)
    VELMORA_ALAN(QString, AnaGrup)
    VELMORA_ALAN(qint32, CARINO)
    VELMORA_ALAN(double, TLBAKIYE)
    VELMORA_ALAN(QString, VERGINO)
    VELMORA_ALAN(QString, MAIL)
    VELMORA_ALAN(QString, OzelKod)
    VELMORA_ALAN(QString, KULLANICIADI)
    VELMORA_ALAN(QString, SATICITELEFON)
    VELMORA_ALAN(QString, CARIKOD)
    VELMORA_ALAN(QString, FAX2)
    VELMORA_ALAN(QString, ILCE)

public:
    void Kopyala(const TMobilCariBilgisi& source) { *this = source; }

    template <class V> void alanlar(V&& v)
    {
        v("FBILGISAYARID", FBILGISAYARID);
        v("FSEHIR", FSEHIR);
        v("FFAX1", FFAX1);
        v("FSATICIMAIL", FSATICIMAIL);
        v("FSATICIADI", FSATICIADI);
        v("FCARIADI", FCARIADI);
        v("FEMAIL", FEMAIL);
        v("FVERGIDAIRESI", FVERGIDAIRESI);
        v("FYETKILI", FYETKILI);
        v("FAltGrup", FAltGrup);
        v("FTEL2", FTEL2);
        v("FSIFRE", FSIFRE);
        v("FGSM", FGSM);
        v("FTEL1", FTEL1);
        v("FADRES2", FADRES2);
        v("FTLBORC", FTLBORC);
        v("FTLALACAK", FTLALACAK);
        v("FADRES1", FADRES1);
        v("FULKE", FULKE);
        v("FAnaGrup", FAnaGrup);
        v("FCARINO", FCARINO);
        v("FTLBAKIYE", FTLBAKIYE);
        v("FVERGINO", FVERGINO);
        v("FMAIL", FMAIL);
        v("FOzelKod", FOzelKod);
        v("FKULLANICIADI", FKULLANICIADI);
        v("FSATICITELEFON", FSATICITELEFON);
        v("FCARIKOD", FCARIKOD);
        v("FFAX2", FFAX2);
        v("FILCE", FILCE);
    }
};
