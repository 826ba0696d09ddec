// The ordering workspace against a real server: search, the stock line dialog, the basket and
// sending an order.

#include "app/Unit1.h"
#include "app/stokayarintiU.h"
#include "gui_test_tabani.h"
#include "platform/tasks.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/gif_view.h"
#include "platform/ui/grid_view.h"
#include "platform/ui/marquee.h"
#include "platform/ui/radio_group.h"
#include "remote/proxim.h"
#include "server/banner_gif.h"
#include "server/schema_history.h"
#include "test_sunucusu.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace velmora;
using velmora::server::HistoryStore;
using velmora::server::Storage;

namespace {

// The news line as the server keeps it: leading blanks and markup are shown as they are.
const char kKayanYazi[] = "   <b>Yeni fiyat listesi</b> yayında";

Tstokayarinti* satirPenceresi()
{
    return qobject_cast<Tstokayarinti*>(ModalSenaryo::modal());
}

// Sets the quantity in the stock line dialog and confirms it.
ModalSenaryo::Adim miktarGirVeOnayla(int miktar, int* acilistakiMiktar = nullptr, int* koliAdet = nullptr)
{
    return {QStringLiteral("stok satırı"), ModalSenaryo::modalAcik("stokayarinti"), [=] {
                Tstokayarinti* d = satirPenceresi();
                if (acilistakiMiktar)
                    *acilistakiMiktar = d->adet->value();
                if (koliAdet)
                    *koliAdet = d->koliadet();
                d->adet->setValue(miktar);
                QFocusEvent ayrilis(QEvent::FocusOut); // leaving the box rounds to the pack quantity
                QApplication::sendEvent(d->adet, &ayrilis);
                d->ParcaliTus1->click();
            }};
}

int satirBul(const DataSet& v, const char* alan, const QVariant& deger)
{
    const int sutun = v.fieldIndex(QLatin1String(alan));
    for (int r = 0; r < v.recordCount(); ++r)
        if (v.value(r, sutun) == deger || v.value(r, sutun).toString() == deger.toString())
            return r;
    return -1;
}

} // namespace

class tst_siparis : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSunucusu> m_sunucu;
    std::unique_ptr<GuiTestTabani> m_taban;
    std::unique_ptr<TForm1> m_form;

    KancaKayitlari& kayit() { return m_taban->kayit; }

    void ara(const QString& metin)
    {
        m_form->araedit->setText(metin);
        QTest::keyClick(m_form->araedit, Qt::Key_Return);
        QTRY_VERIFY(m_form->araedit->isEnabled());
    }

    void sepeteEkle(const char* barkod, int miktar)
    {
        ara(QString::fromLatin1(barkod));
        const int satir = satirBul(m_form->stok, "BARKOD", QString::fromLatin1(barkod));
        QVERIFY(satir >= 0);
        m_form->cxGrid1->setFocusedRow(satir);
        ModalSenaryo senaryo({miktarGirVeOnayla(miktar)});
        m_form->StokSatiriAc(SatirKaynagi::StokListesi);
        QVERIFY2(senaryo.tamamlandi(), qPrintable(senaryo.takilanAdim()));
    }

    QString sekmeBasligi(QWidget* sekme) const
    {
        return m_form->sPageControl1->tabText(m_form->sPageControl1->indexOf(sekme));
    }

    // The server's view of the basket.
    Table sunucununSepeti()
    {
        ServerConnection b(QStringLiteral("127.0.0.1"), m_sunucu->port());
        b.open();
        TServerMethods1Client proxy(b);
        return *proxy.SepetVer2(m_form->sbilgi.CARINO());
    }

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        m_sunucu = std::make_unique<TestSunucusu>([](Storage& depo) {
            siparisFixtureKur(depo);
            depo.setSetting(QStringLiteral("kayan_yazi"), QString::fromUtf8(kKayanYazi));
            HistoryStore gecmis(depo);
            gecmis.storeBanner(velmora::server::drawBannerGif());
            gecmis.addAnnouncement(QDate::currentDate(), QStringLiteral("Fiyat listesi"),
                                   QStringLiteral("<p>Yeni</p>"));
            gecmis.addAnnouncement(QDate::currentDate(), QStringLiteral("Tatil"), QStringLiteral("<p>Kapalıyız</p>"));
        });
        QVERIFY2(m_sunucu->calisiyor(), qPrintable(m_sunucu->hata()));
    }

    void init()
    {
        m_taban = std::make_unique<GuiTestTabani>();
        m_taban->sunucuyaYonelt(m_sunucu->port());
        m_taban->bilgisayarKimligi(QString::fromLatin1(FixtureKullanicilari::bayi));
        ModalSenaryo senaryo({ModalSenaryo::girisiDoldur(QStringLiteral("BAYI"), QStringLiteral("1234"))});
        m_form = std::make_unique<TForm1>();
        QVERIFY(m_form->girisYapildi());
        m_form->resize(1400, 800);
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        // The notices of the start-up task are in before the test changes anything.
        waitForTaskWork();
        // Every test starts with an empty basket on the server.
        ServerConnection b(QStringLiteral("127.0.0.1"), m_sunucu->port());
        b.open();
        TServerMethods1Client proxy(b);
        proxy.SepetHepsiniSil(kopyasi(m_form->sbilgi));
        kayit().mesajlar.clear();
    }

    void cleanup()
    {
        m_form.reset();
        m_taban.reset();
        setSaveFileHook({});
    }

    void cleanupTestCase() { m_sunucu.reset(); }

    void aramaIzgarayiDoldurur()
    {
        m_form->sPageControl1->setCurrentWidget(m_form->sonceki);
        ara(QStringLiteral("FREN"));
        QCOMPARE(m_form->sPageControl1->currentWidget(), m_form->sstoklistesi);
        QCOMPARE(sekmeBasligi(m_form->sstoklistesi), QStringLiteral("2=Stok Listesi"));
        QCOMPARE(m_form->cxGrid1->rowCount(), 2);
        QVERIFY(kayit().mesajlar.isEmpty());
        QCOMPARE(m_form->araedit->selectedText(), QStringLiteral("FREN"));

        ara(QStringLiteral("YOKBOYLEPARCA"));
        QCOMPARE(sekmeBasligi(m_form->sstoklistesi), QStringLiteral("0=Stok Listesi"));
        QVERIFY(kayit().mesajlar.isEmpty());

        m_form->SpeedButton1->click(); // "Temizle"
        QCOMPARE(sekmeBasligi(m_form->sstoklistesi), QStringLiteral("Stok Listesi"));
        QVERIFY(m_form->araedit->text().isEmpty());
    }

    void ucHarftenAzUyarir()
    {
        m_form->sPageControl1->setCurrentWidget(m_form->ssepet);
        kayit().mesajlar.clear();
        m_form->araedit->setText(QStringLiteral("  FR  "));
        QTest::keyClick(m_form->araedit, Qt::Key_Return);
        QCOMPARE(m_form->sPageControl1->currentWidget(), m_form->sstoklistesi);
        QCOMPARE(kayit().mesajlar.size(), 1);
        QCOMPARE(kayit().mesajlar[0].text, QStringLiteral("Lütfen en az 3 harf giriniz !"));
        QCOMPARE(kayit().mesajlar[0].kind, MessageKind::Warning);
        QVERIFY(m_form->araedit->isEnabled());
    }

    void aramaKutusuHarfleriEsler()
    {
        m_form->araedit->clear();
        for (const QChar harf : QStringLiteral("çanta"))
            QTest::sendKeyEvent(QTest::Click, m_form->araedit, Qt::Key_unknown, QString(harf), Qt::NoModifier);
        QCOMPARE(m_form->araedit->text(), QStringLiteral("CANTA"));
    }

    void sepeteEklenirSepettekiSatirAcilir()
    {
        sepeteEkle("BLT-1001", 13); // boxes of 12: 13 becomes 24
        QCOMPARE(sekmeBasligi(m_form->ssepet), QStringLiteral("1=Sepet"));
        QVERIFY(m_form->_sepettevar);
        QCOMPARE(m_form->sepet.value(QStringLiteral("MIKTAR")).toDouble(), 24.0);

        // The same item again opens its basket line with the line's quantity and the item's pack.
        const int satir = satirBul(m_form->stok, "BARKOD", QStringLiteral("BLT-1001"));
        m_form->cxGrid1->setFocusedRow(satir);
        int acilis = 0;
        int koli = 0;
        ModalSenaryo senaryo({miktarGirVeOnayla(36, &acilis, &koli)});
        m_form->StokSatiriAc(SatirKaynagi::StokListesi);
        QVERIFY2(senaryo.tamamlandi(), qPrintable(senaryo.takilanAdim()));
        QCOMPARE(acilis, 24);
        QCOMPARE(koli, 12);
        QCOMPARE(sekmeBasligi(m_form->ssepet), QStringLiteral("1=Sepet"));
        const Table sunucu = sunucununSepeti();
        QCOMPARE(sunucu.rows.size(), 1);
        QCOMPARE(sunucu.rows[0][sunucu.columnIndex(QStringLiteral("MIKTAR"))].toDouble(), 36.0);
    }

    void secimToplamlarVeSilme()
    {
        sepeteEkle("BLT-1002", 2);
        sepeteEkle("FLT-2001", 3);
        QCOMPARE(sekmeBasligi(m_form->ssepet), QStringLiteral("2=Sepet"));
        m_form->Button5->click(); // nothing selected
        QCOMPARE(m_form->geneltoplaml->text(), QStringLiteral("0,00"));
        m_form->Button4->click(); // everything selected
        QVERIFY(m_form->geneltoplaml->text() != QStringLiteral("0,00"));
        const QString hepsi = m_form->geneltoplaml->text();

        // "Satır Değiştir" on the "Seç" column flips the line's selection.
        const int satir = satirBul(m_form->sepet, "BARKOD", QStringLiteral("BLT-1002"));
        m_form->cxGrid2->setFocusedRow(satir);
        QTableView* tablo = m_form->cxGrid2->tableView();
        tablo->setCurrentIndex(tablo->model()->index(
            tablo->currentIndex().row(), m_form->cxGrid2->columnIndex(QStringLiteral("cxGridDBTableView1SEC"))));
        m_form->Deitir1Click();
        QVERIFY(m_form->geneltoplaml->text() != hepsi);
        const Table sunucu = sunucununSepeti();
        const int r = satirBul(m_form->sepet, "BARKOD", QStringLiteral("BLT-1002"));
        QCOMPARE(m_form->sepet.value(r, m_form->sepet.fieldIndex(QStringLiteral("SEC"))).toInt(), 0);
        for (const auto& s : sunucu.rows)
            QCOMPARE(s[sunucu.columnIndex(QStringLiteral("SEC"))].toInt(),
                     s[sunucu.columnIndex(QStringLiteral("BARKOD"))].toString() == QStringLiteral("BLT-1002") ? 0 : 1);

        // "Satır Sil": "Hayır" sends nothing, "Evet" deletes.
        m_form->cxGrid2->setFocusedRow(satirBul(m_form->sepet, "BARKOD", QStringLiteral("BLT-1002")));
        kayit().cevaplar = {mrNo};
        m_form->SatrSil1Click();
        QCOMPARE(sunucununSepeti().rows.size(), 2);
        QCOMPARE(kayit().mesajlar.last().defaultButton, mbNo);
        kayit().cevaplar = {mrYes};
        m_form->SatrSil1Click();
        QCOMPARE(sunucununSepeti().rows.size(), 1);
        QCOMPARE(kayit().mesajlar.last().text, QStringLiteral("Satır silindi !"));
        QCOMPARE(sekmeBasligi(m_form->ssepet), QStringLiteral("1=Sepet"));

        kayit().cevaplar = {mrYes};
        m_form->HepsiniSil1Click();
        QCOMPARE(sunucununSepeti().rows.size(), 0);
        QCOMPARE(sekmeBasligi(m_form->ssepet), QStringLiteral("0=Sepet"));
        QVERIFY(!m_form->_sepettevar);
        const int onceki = int(kayit().mesajlar.size());
        m_form->HepsiniSil1Click(); // an empty basket asks nothing
        QCOMPARE(int(kayit().mesajlar.size()), onceki);
    }

    void siparisSeciliSatirlarlaGider()
    {
        sepeteEkle("BLT-1002", 2);
        sepeteEkle("FLT-2001", 3);
        m_form->sPageControl1->setCurrentWidget(m_form->ssepet); // reloads the basket and the lists
        QCOMPARE(m_form->teslimbox->count(), 3);
        QCOMPARE(m_form->teslimbox->itemIndex(), 1);
        QCOMPARE(m_form->boxkargo->itemIndex(), -1);

        auto gonderMesaji = [&] {
            kayit().mesajlar.clear();
            m_form->Button1->click();
            return kayit().mesajlar.isEmpty() ? QString() : kayit().mesajlar.first().text;
        };
        m_form->Button5->click();
        QCOMPARE(gonderMesaji(), QStringLiteral("Gönderilecek Parça Yok "));
        m_form->cxGrid2->setFocusedRow(satirBul(m_form->sepet, "BARKOD", QStringLiteral("FLT-2001")));
        QTableView* tablo = m_form->cxGrid2->tableView();
        tablo->setCurrentIndex(tablo->model()->index(
            tablo->currentIndex().row(), m_form->cxGrid2->columnIndex(QStringLiteral("cxGridDBTableView1SEC"))));
        m_form->Deitir1Click(); // select the filter line only
        QCOMPARE(gonderMesaji(), QStringLiteral("Lütfen Kargo Türünü Seçiniz !"));
        m_form->boxkargo->setItemIndex(0);
        m_form->boxkargoClick();
        QCOMPARE(m_form->kargocombo->count(), 3);
        QCOMPARE(gonderMesaji(), QStringLiteral("Lütfen Kargo  Seçiniz !"));
        m_form->kargocombo->setCurrentIndex(m_form->kargocombo->findText(QStringLiteral("Hızlı Kargo")));
        QCOMPARE(m_form->uyarikargo->text(), QStringLiteral("Cumartesi teslimat yoktur."));
        m_form->aciklamagir->setPlainText(QStringLiteral("Öğleden önce lütfen"));

        // "Hayır" in the confirmation sends nothing.
        ModalSenaryo vazgec({ModalSenaryo::pencereyiKapat("ONAYSIP", false)});
        m_form->Button1->click();
        QVERIFY(vazgec.tamamlandi());
        QCOMPARE(m_form->aciklamagir->toPlainText(), QStringLiteral("Öğleden önce lütfen"));
        QCOMPARE(sunucununSepeti().rows.size(), 2);

        QString ozet;
        ModalSenaryo onay({{QStringLiteral("onay"), ModalSenaryo::modalAcik("ONAYSIP"), [&ozet] {
                                auto* d = qobject_cast<QDialog*>(ModalSenaryo::modal());
                                ozet = d->findChild<QLabel*>(QStringLiteral("Label2"))->text();
                                d->accept();
                            }}});
        kayit().mesajlar.clear();
        m_form->Button1->click();
        QVERIFY(onay.tamamlandi());
        const QStringList satirlar = ozet.split(QStringLiteral("\r\n"));
        QCOMPARE(satirlar.size(), 7);
        QCOMPARE(satirlar[2], QStringLiteral("Teslim   : Ambar"));
        QCOMPARE(satirlar[3], QStringLiteral("Kargo    : Alıcı Ödemeli"));
        QCOMPARE(satirlar[5], QStringLiteral("Kargo    : Hızlı Kargo"));
        QCOMPARE(kayit().mesajlar.first().text, QStringLiteral("Siparişiniz Gönderildi !"));
        QVERIFY(m_form->aciklamagir->toPlainText().isEmpty());

        // The order holds exactly the selected line; the other one stays in the basket.
        const Table kalan = sunucununSepeti();
        QCOMPARE(kalan.rows.size(), 1);
        QCOMPARE(kalan.rows[0][kalan.columnIndex(QStringLiteral("BARKOD"))].toString(), QStringLiteral("BLT-1002"));
        QCOMPARE(sekmeBasligi(m_form->ssepet), QStringLiteral("1=Sepet"));
        ServerConnection b(QStringLiteral("127.0.0.1"), m_sunucu->port());
        b.open();
        TServerMethods1Client proxy(b);
        const Table siparisler = *proxy.OncekiSiparisler(m_form->sbilgi.CARINO());
        QVERIFY(!siparisler.rows.isEmpty());
        const int idno = siparisler.rows.last()[siparisler.columnIndex(QStringLiteral("IDNO"))].toInt();
        int enBuyuk = idno;
        for (const auto& s : siparisler.rows)
            enBuyuk = std::max(enBuyuk, s[siparisler.columnIndex(QStringLiteral("IDNO"))].toInt());
        const Table satirTablosu = *proxy.SiparisAyrintisi2(m_form->sbilgi.CARINO(), enBuyuk);
        QCOMPARE(satirTablosu.rows.size(), 1);
        QCOMPARE(satirTablosu.rows[0][satirTablosu.columnIndex(QStringLiteral("BARKOD"))].toString(),
                 QStringLiteral("FLT-2001"));
    }

    void duyurularGiristenSonraGelir()
    {
        QCOMPARE(m_form->kayanyazi->itemCount(), 1);
        QCOMPARE(m_form->kayanyazi->item(0).text, QString::fromUtf8(kKayanYazi)); // blanks kept
        QVERIFY(m_form->kayanyazi->item(0).style == Marquee::ItemStyle::Html);
        QVERIFY(m_form->kayanyazi->isActive());
        QVERIFY(m_form->RxGIFAnimator1->hasPicture());

        // The counts as the server gives them for this session, in the five captions.
        ServerConnection b(QStringLiteral("127.0.0.1"), m_sunucu->port());
        b.open();
        TServerMethods1Client proxy(b);
        const Table sayilar = *proxy.BalonGetir(kopyasi(m_form->sbilgi));
        QCOMPARE(sayilar.rows.size(), 1);
        const auto& satir = sayilar.rows[0];
        QCOMPARE(satir[3].toInt(), 2);
        QVERIFY(sekmeBasligi(m_form->ssepet).endsWith(QStringLiteral("=Sepet")));
        QCOMPARE(sekmeBasligi(m_form->syeniler), QStringLiteral("%1=Yeni Stoklar").arg(satir[1].toInt()));
        QCOMPARE(sekmeBasligi(m_form->skampanyali), QStringLiteral("%1=Kampanyalı").arg(satir[2].toInt()));
        QCOMPARE(sekmeBasligi(m_form->sTabSheetduyuru), QStringLiteral("2=Duyurular"));
        QCOMPARE(sekmeBasligi(m_form->sTabbakiyeler),
                 QLocale().toString(satir[4].toDouble(), 'g', 15).remove(QLocale().groupSeparator()) +
                     QStringLiteral("=Bakiyeler"));
        QVERIFY(kayit().mesajlar.isEmpty());
    }

    void duyurularSunucuYoksaBirerMesaj()
    {
        // Each notice checks its own connection with a message; the next one still runs and the
        // window keeps what it had.
        const QString yeniler = sekmeBasligi(m_form->syeniler);
        const ServerConnection kapali(QStringLiteral("127.0.0.1"), 1); // nothing listens there
        TForm1* form = m_form.get();
        const QPointer<QObject> pencere(form);
        const std::unique_ptr<TSonucBilgisi> bilgi = kopyasi(form->sbilgi);
        runTask(form, [&] {
            form->KayanYaziYaz(pencere, kapali);
            form->BannerREsimAl(pencere, kapali);
            form->BalonYaz(pencere, kapali, *bilgi);
        });
        waitForTaskWork();
        QCOMPARE(kayit().mesajlar.size(), 3);
        for (const auto& mesaj : std::as_const(kayit().mesajlar))
            QCOMPARE(mesaj.text, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        QCOMPARE(m_form->kayanyazi->itemCount(), 1);
        QVERIFY(m_form->RxGIFAnimator1->hasPicture());
        QCOMPARE(sekmeBasligi(m_form->syeniler), yeniler);
    }

    void baglantiYoksaTekMesaj()
    {
        m_form->bagc.setPort(1); // nothing listens there
        ara(QStringLiteral("FREN"));
        QCOMPARE(kayit().mesajlar.size(), 1);
        QCOMPARE(kayit().mesajlar[0].text, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        QCOMPARE(sekmeBasligi(m_form->sstoklistesi), QStringLiteral("Stok Listesi"));
        QVERIFY(m_form->cxGrid1->isEnabled());
        QVERIFY(m_form->araedit->isEnabled());
    }

    void sepetExceleKaydedilir()
    {
        sepeteEkle("BLT-1001", 24);
        m_form->sPageControl1->setCurrentWidget(m_form->ssepet);
        const QString yol = m_taban->klasor.filePath(QStringLiteral("sepet"));
        setSaveFileHook([yol](const QString&, const QString& filtre) {
            return filtre == QStringLiteral("Excel|*.xls*") ? yol : QString();
        });
        m_form->Button2->click();
        QVERIFY(QFile::exists(yol + QStringLiteral(".xls")));
        QProcess python;
        // Debian's interpreter carries the python3-xlrd package.
        python.start(QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                       : QStringLiteral("python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import xlrd,sys\n"
                                     "s=xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
                                     "h=s.row_values(0)\n"
                                     "print(h.index('Stok Açıklama'), s.cell_value(1,h.index('Stok Açıklama')), "
                                     "s.cell_value(1,h.index('Miktar')))\n"),
                      yol + QStringLiteral(".xls")});
        QVERIFY(python.waitForFinished(20000));
        const QString cikti = QString::fromUtf8(python.readAllStandardOutput()).trimmed();
        QVERIFY2(cikti.endsWith(QStringLiteral("Fren Balatası Ön 24.0")),
                 qPrintable(cikti + QString::fromUtf8(python.readAllStandardError())));
    }
};

QTEST_MAIN(tst_siparis)
#include "tst_siparis.moc"
