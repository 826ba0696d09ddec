#include "demo_data.h"

#include "demo_history.h"
#include "storage.h"

namespace velmora::server {

namespace {

const QString kMailDomain = QStringLiteral("velmora-otomotiv.example");

QString staffMail(const QString& local)
{
    return local + QLatin1Char('@') + kMailDomain;
}

} // namespace

DemoCredentials demoCredentials(DemoUser user)
{
    switch (user) {
    case DemoUser::Bayi:
        return {QStringLiteral("BAYI"), QStringLiteral("1234")};
    case DemoUser::Temsilci:
        return {QStringLiteral("TEMSILCI"), QStringLiteral("1234")};
    }
    return {};
}

bool fillDemoData(Storage& storage)
{
    if (storage.hasUsers())
        return false;

    const qint32 murat = storage.addRepresentative(
        {0, QStringLiteral("Murat Aksoy"), QStringLiteral("0532 418 27 61"), staffMail(QStringLiteral("murat.aksoy"))});
    const qint32 selin = storage.addRepresentative({0, QStringLiteral("Selin Karaca"), QStringLiteral("0533 702 14 93"),
                                                    staffMail(QStringLiteral("selin.karaca"))});

    CustomerAccount yildiz;
    yildiz.code = QStringLiteral("120.01.001");
    yildiz.name = QStringLiteral("Yıldız Oto Yedek Parça Ltd. Şti.");
    yildiz.address1 = QStringLiteral("Fevzi Çakmak Mah. Sanayi Cad. No:14");
    yildiz.address2 = QStringLiteral("Karatay Oto Sanayi Sitesi");
    yildiz.district = QStringLiteral("Karatay");
    yildiz.city = QStringLiteral("Konya");
    yildiz.country = QStringLiteral("Türkiye");
    yildiz.phone1 = QStringLiteral("0332 342 18 90");
    yildiz.phone2 = QStringLiteral("0332 342 18 92");
    yildiz.mobile = QStringLiteral("0535 611 40 22");
    yildiz.fax1 = QStringLiteral("0332 342 18 91");
    yildiz.mail = QStringLiteral("siparis@yildizoto.example");
    yildiz.taxOffice = QStringLiteral("Selçuk");
    yildiz.taxNumber = QStringLiteral("9470312586");
    yildiz.contact = QStringLiteral("Hasan Yıldız");
    yildiz.mainGroup = QStringLiteral("BAYİ");
    yildiz.subGroup = QStringLiteral("İÇ ANADOLU");
    yildiz.specialCode = QStringLiteral("A");
    yildiz.representative = murat;
    const qint32 yildizNo = storage.addCustomerAccount(yildiz);

    CustomerAccount ege;
    ege.code = QStringLiteral("120.02.014");
    ege.name = QStringLiteral("Ege Motor Parçaları");
    ege.address1 = QStringLiteral("Kazımdirik Mah. 372. Sok. No:8");
    ege.district = QStringLiteral("Bornova");
    ege.city = QStringLiteral("İzmir");
    ege.country = QStringLiteral("Türkiye");
    ege.phone1 = QStringLiteral("0232 461 05 37");
    ege.mobile = QStringLiteral("0542 318 77 09");
    ege.fax1 = QStringLiteral("0232 461 05 38");
    ege.mail = QStringLiteral("info@egemotor.example");
    ege.taxOffice = QStringLiteral("Bornova");
    ege.taxNumber = QStringLiteral("3310587426");
    ege.contact = QStringLiteral("Ayşe Demirtaş");
    ege.mainGroup = QStringLiteral("BAYİ");
    ege.subGroup = QStringLiteral("EGE");
    ege.specialCode = QStringLiteral("B");
    ege.representative = selin;
    const qint32 egeNo = storage.addCustomerAccount(ege);

    CustomerAccount karadeniz;
    karadeniz.code = QStringLiteral("120.03.007");
    karadeniz.name = QStringLiteral("Karadeniz Oto Sanayi ve Tic. A.Ş.");
    karadeniz.address1 = QStringLiteral("Yeni Sanayi Sitesi 5. Blok No:22");
    karadeniz.district = QStringLiteral("Tekkeköy");
    karadeniz.city = QStringLiteral("Samsun");
    karadeniz.country = QStringLiteral("Türkiye");
    karadeniz.phone1 = QStringLiteral("0362 256 41 12");
    karadeniz.fax1 = QStringLiteral("0362 256 41 13");
    karadeniz.mail = QStringLiteral("muhasebe@karadenizoto.example");
    karadeniz.taxOffice = QStringLiteral("19 Mayıs");
    karadeniz.taxNumber = QStringLiteral("5820914473");
    karadeniz.contact = QStringLiteral("Kemal Öztürk");
    karadeniz.mainGroup = QStringLiteral("BAYİ");
    karadeniz.subGroup = QStringLiteral("KARADENİZ");
    karadeniz.specialCode = QStringLiteral("A");
    karadeniz.representative = murat;
    storage.addCustomerAccount(karadeniz);

    CustomerAccount baskent;
    baskent.code = QStringLiteral("120.04.021");
    baskent.name = QStringLiteral("Başkent Otomotiv");
    baskent.address1 = QStringLiteral("Ostim OSB 1234. Cad. No:31");
    baskent.district = QStringLiteral("Yenimahalle");
    baskent.city = QStringLiteral("Ankara");
    baskent.country = QStringLiteral("Türkiye");
    baskent.phone1 = QStringLiteral("0312 385 60 44");
    baskent.mobile = QStringLiteral("0530 925 13 58");
    baskent.mail = QStringLiteral("siparis@baskentotomotiv.example");
    baskent.taxOffice = QStringLiteral("Ostim");
    baskent.taxNumber = QStringLiteral("1460273395");
    baskent.contact = QStringLiteral("Serkan Güneş");
    baskent.mainGroup = QStringLiteral("BAYİ");
    baskent.subGroup = QStringLiteral("İÇ ANADOLU");
    baskent.specialCode = QStringLiteral("C");
    baskent.representative = selin;
    storage.addCustomerAccount(baskent);

    const DemoCredentials bayi = demoCredentials(DemoUser::Bayi);
    User dealer;
    dealer.name = bayi.name;
    dealer.password = bayi.password;
    dealer.type = 3;
    dealer.mail = QStringLiteral("hasan@yildizoto.example");
    dealer.account = yildizNo;
    storage.addUser(dealer);

    const DemoCredentials temsilci = demoCredentials(DemoUser::Temsilci);
    User representative;
    representative.name = temsilci.name;
    representative.password = temsilci.password;
    representative.type = 1;
    representative.mail = staffMail(QStringLiteral("murat.aksoy"));
    representative.representative = murat;
    storage.addUser(representative);

    User egeUser;
    egeUser.name = QStringLiteral("EGEMOTOR");
    egeUser.password = QStringLiteral("4821");
    egeUser.type = 4;
    egeUser.mail = QStringLiteral("info@egemotor.example");
    egeUser.account = egeNo;
    storage.addUser(egeUser);

    storage.setSetting(QStringLiteral("kayan_yazi"),
                       QStringLiteral("Velmora Otomotiv'e hoş geldiniz. Fren ve süspansiyon ürünlerinde sezon "
                                      "kampanyası başladı. Siparişleriniz 16:00'ya kadar aynı gün kargoda."));
    const qint32 version = storage.clientVersion();
    storage.storeInstaller(QStringLiteral("VelmoraSetup.exe"), version,
                           QStringLiteral("Velmora demo kurulum dosyası, sürüm %1\n").arg(version).toUtf8());
    fillHistoryDemoData(storage);
    return true;
}

void registerDemoComputer(Storage& storage, DemoUser user, const QString& computerId)
{
    const QString name = demoCredentials(user).name;
    const auto userNo = storage.userNoByName(name);
    if (!userNo)
        throw StorageError(QStringLiteral("Veritabanında %1 kullanıcısı yok").arg(name));
    storage.registerInstallation(computerId, *userNo);
}

} // namespace velmora::server
