#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVector>

namespace velmora::server {

class Storage;

// A stock item of the distributor's catalogue.
struct StockItem {
    qint32 no = 0;      // STOKNO; 0: the database assigns one
    QString code;       // BARKOD, the distributor's item code, unique
    QString secondCode; // BARKODNO
    QString name;       // ADI
    QString otherName;
    QString oem1, oem2, oem3, oem4, oemNo;
    QString finishCode;
    QString makerCode; // URETICIKODU
    QString dpCode, pCode;
    qint32 brand = 0; // MARKANO, 0: none
    QString model;
    QString mainGroup;
    QString specialCode;
    QString unit = QStringLiteral("ADET");
    qint32 packQuantity = 1;  // pieces in one box
    double vat = 20;          // percent
    qint32 state = 1;         // DURUM 0..6
    double onHand = 0;        // KALAN
    double givenOrders = 0;   // VERILENSIPARIS: ordered from suppliers, not yet received
    double listPrice = 0;     // without VAT
    double campaignPrice = 0; // 0: no campaign
    bool isNew = false;
    bool active = true;
};

// A customer's four successive discount rates in percent.
struct Discounts {
    double ind1 = 0;
    double ind2 = 0;
    double ind3 = 0;
    double ind4 = 0;
};

// What one unit of an item costs a customer.
struct Price {
    double list = 0;      // FIYAT
    Discounts discounts;  // IND1..IND4; on campaign the campaign's rate in IND1
    double net = 0;       // NETFIYAT, without VAT
    double withVat = 0;   // KDVDAHIL
    QString discountText; // INDIRIMYAZI, e.g. "25+10", "0" without discount
    bool campaign = false;
};

// The price of an item for a customer: the campaign price when the item has one, otherwise the list
// price less the discounts one after another; amounts rounded to two decimals.
Price priceFor(double listPrice, double campaignPrice, double vat, const Discounts& discounts);
// Discount rates as shown to the user: the non-zero ones joined by "+", with a decimal comma.
QString discountText(const Discounts& discounts);

// Writes stock items with one prepared statement; for bulk loads inside one write transaction.
class StockWriter {
public:
    explicit StockWriter(QSqlDatabase& db);
    qint32 add(const StockItem& item); // returns STOKNO; throws StorageError
    void setPicture(qint32 stockNo, const QByteArray& jpeg);

private:
    QSqlDatabase m_db;
    QSqlQuery m_insert;   // STOKNO from the database
    QSqlQuery m_insertNo; // STOKNO given
    QSqlQuery m_picture;
};

// Catalogue, discounts and shipping choices, each in its own transaction (demo data and tests).
qint32 addBrand(Storage& storage, const QString& name);
qint32 addStockItem(Storage& storage, const StockItem& item);
void setStockPicture(Storage& storage, qint32 stockNo, const QByteArray& jpeg);
// MARKANO 0 sets the rates for every brand without rates of its own.
void setCustomerDiscounts(Storage& storage, qint32 account, qint32 brand, const Discounts& discounts);
void addDeliveryKind(Storage& storage, qint32 code, const QString& name);
void addCargoKind(Storage& storage, qint32 code, const QString& name);
// A cargo company carrying the given cargo kinds; returns its SIRANO.
qint32 addCargoCompany(Storage& storage, const QString& name, const QString& warning, const QVector<qint32>& kinds);

} // namespace velmora::server
