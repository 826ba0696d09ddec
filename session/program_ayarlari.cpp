#include "program_ayarlari.h"

ProgramAyarlari derlenmisAyarlar()
{
    ProgramAyarlari a;
    a.sunucuGenelAdresi = QStringLiteral(VELMORA_SERVER_PUBLIC_HOST);
    a.sunucuYerelAdresi = QStringLiteral(VELMORA_SERVER_LOCAL_HOST);
    a.port = VELMORA_SERVER_PORT;
    a.surum = VELMORA_CLIENT_VERSION;
    a.ekoAdresi = QStringLiteral(VELMORA_ECHO_URL);
    a.kurulumAdresi = QStringLiteral(VELMORA_SETUP_URL);
    a.siteAdi = QStringLiteral(VELMORA_SITE_NAME);
    a.siteAdresi = QStringLiteral(VELMORA_SITE_URL);
    return a;
}

ProgramAyarlari& programAyarlari()
{
    static ProgramAyarlari ayarlar = derlenmisAyarlar();
    return ayarlar;
}
