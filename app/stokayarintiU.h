#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace velmora {
class DataSet;
class ServerConnection;
} // namespace velmora

// The stock line dialog: an item's codes and picture, its prices and a quantity that moves in
// steps of the pack quantity. Opened for a new line from the stock, new-stock or campaign list,
// or for an existing basket line.
class Tstokayarinti : public QDialog {
    Q_OBJECT
public:
    explicit Tstokayarinti(QWidget* owner);

    QLabel* barkod = nullptr;
    QLabel* adi = nullptr;
    QLabel* finishkod = nullptr;
    QLabel* marka = nullptr;
    QLabel* model = nullptr;
    QLabel* Image1 = nullptr;
    QSpinBox* adet = nullptr;
    QLabel* Label2 = nullptr; // caption of the unit price
    QLineEdit* birimfiyat = nullptr;
    QLabel* indirimoran = nullptr; // caption of the net price
    QLineEdit* indtutar = nullptr;
    QLineEdit* kdvdahiltutar = nullptr;
    QLineEdit* geneltutar = nullptr;
    QPushButton* ParcaliTus1 = nullptr;
    QPushButton* ParcaliTus2 = nullptr;

    int koliadet() const { return m_koliadet; }
    // Sets the spin box's step, value and minimum to the pack quantity.
    void setKoliadet(int adetSayisi);
    double kdvlifiyat = 0;

    // Amount boxes keep their value; the boxes show it with "#,###,##0.00".
    double birimFiyatDegeri() const { return m_birimFiyat; }
    double kdvDahilDegeri() const { return m_kdvDahil; }
    double genelTutarDegeri() const { return m_genelTutar; }
    void setBirimFiyat(double deger);
    void setNetFiyat(double deger);
    void setKdvDahil(double deger);

    // The quantity as the user confirmed it.
    double miktar() const;

    // Variants: each fills the dialog from its source's current row.
    void yeniSatirStok(const velmora::DataSet& stok);
    void yeniSatirYeniler(const velmora::DataSet& yeniler);
    void yeniSatirKampanya(const velmora::DataSet& kampstok);
    void mevcutSatir(const velmora::DataSet& sepet, int koliAdet);

    // Loads the item's picture on the window's connection; keeps the default picture when the
    // item has none or the bytes do not arrive whole.
    void ResimYukle(velmora::ServerConnection& bagc, int stokno);
    static QPixmap varsayilanResim();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void kodlariDoldur(const velmora::DataSet& kaynak, const char* adAlani);
    void tutariHesapla();
    void koliyeTamamla();

    int m_koliadet = 1;
    double m_birimFiyat = 0;
    double m_netFiyat = 0;
    double m_kdvDahil = 0;
    double m_genelTutar = 0;
};
