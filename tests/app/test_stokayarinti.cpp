#include "app/stokayarintiU.h"
#include "platform/data_set.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using velmora::DataSet;
using velmora::FieldType;
using velmora::Table;

namespace {

// One stock row with the columns the dialog reads.
void stokSatiri(DataSet& v, const QVariant& koli, int k)
{
    Table t;
    t.columns = {{"STOK_STOKNO", FieldType::Int32}, {"BARKOD", FieldType::Text},      {"ADI", FieldType::Text},
                 {"MARKA", FieldType::Text},        {"FINISHKOD", FieldType::Text},   {"MODEL", FieldType::Text},
                 {"OZELKOD1", FieldType::Text},     {"FIYAT", FieldType::Double},     {"KDVDAHIL", FieldType::Double},
                 {"NETFIYAT", FieldType::Double},   {"INDIRIMYAZI", FieldType::Text}, {"K", FieldType::Int32},
                 {"KDV", FieldType::Double}};
    t.rows = {{7, "BLT-1001", "Fren Balatası Ön", "Brembo", "F-77", "Doblo", koli, 100.0, 94.4, 80.0, "20", k, 18.0}};
    v.assignData(std::move(t));
}

} // namespace

class TestStokayarinti : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void koliAdetAdimlari()
    {
        DataSet stok;
        stokSatiri(stok, "12", 0);
        Tstokayarinti d(nullptr);
        d.yeniSatirStok(stok);
        QCOMPARE(d.adet->value(), 12);
        QCOMPARE(d.adet->minimum(), 12);
        QCOMPARE(d.adet->singleStep(), 12);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.adet->setFocus();
        d.adet->selectAll();
        QTest::keyClicks(d.adet, QStringLiteral("13"));
        QFocusEvent ayrilis(QEvent::FocusOut); // leaving the box rounds up to the pack quantity
        QApplication::sendEvent(d.adet, &ayrilis);
        QCOMPARE(d.adet->value(), 24);
        QCOMPARE(d.geneltutar->text(), QStringLiteral("2.265,60"));
        d.adet->stepUp();
        QCOMPARE(d.adet->value(), 36);
        d.adet->setValue(1);
        QCOMPARE(d.adet->value(), 12); // the smallest value is the pack quantity
    }

    void okunamayanKoliBirOlur()
    {
        DataSet stok;
        stokSatiri(stok, "koli", 0);
        Tstokayarinti d(nullptr);
        d.yeniSatirStok(stok);
        QCOMPARE(d.koliadet(), 1);
        QCOMPARE(d.adet->value(), 1);
        QCOMPARE(d.indirimoran->text(), QStringLiteral("İndirim: %20"));
        QCOMPARE(d.Label2->text(), QStringLiteral("Fiyat:"));
        QCOMPARE(d.birimfiyat->text(), QStringLiteral("100,00"));
    }

    void kampanyaliBasliklar()
    {
        DataSet stok;
        stokSatiri(stok, "1", 1);
        Tstokayarinti d(nullptr);
        d.yeniSatirStok(stok);
        QCOMPARE(d.Label2->text(), QStringLiteral("Kampanyalı Fiyat:"));
        QCOMPARE(d.indirimoran->text(), QStringLiteral("Kampanyalı 20"));
    }

    void mevcutSatirKoliyeYukselir()
    {
        DataSet sepet;
        Table t;
        t.columns = {{"SIRANO", FieldType::Int32},         {"STOKNO", FieldType::Int32},
                     {"BARKOD", FieldType::Text},          {"STOKADI", FieldType::Text},
                     {"KDV", FieldType::Double},           {"BIRIMFIYAT", FieldType::Double},
                     {"NETBIRIMFIYAT", FieldType::Double}, {"MIKTAR", FieldType::Double}};
        t.rows = {{3, 7, "BLT-1001", "Fren Balatası Ön", 18.0, 100.0, 1.25, 5.0}};
        sepet.assignData(std::move(t));
        Tstokayarinti d(nullptr);
        d.mevcutSatir(sepet, 12);
        QCOMPARE(d.adet->value(), 12);
        QCOMPARE(d.adi->text(), QStringLiteral("Fren Balatası Ön"));
        QCOMPARE(d.kdvDahilDegeri(), 1.48); // 1.25 x 1.18 = 1.475 rounds up
        QCOMPARE(d.kdvlifiyat, 1.48);
    }

    void enterKoliyeTamamlayipOnaylar()
    {
        DataSet stok;
        stokSatiri(stok, "6", 0);
        Tstokayarinti d(nullptr);
        d.yeniSatirStok(stok);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.adet->setFocus();
        d.adet->selectAll();
        QTest::keyClicks(d.adet, QStringLiteral("7"));
        QTest::keyClick(d.adet, Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.miktar(), 12.0);
    }
};

QTEST_MAIN(TestStokayarinti)
#include "test_stokayarinti.moc"
