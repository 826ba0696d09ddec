#pragma once

#include <QByteArray>
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

namespace velmora::server {

class Storage;

// Tables of the account history, documents and notices: account movements with their invoice
// and collection lines, customer terms, order-balance changes, announcements, files, banners
// and the outbox. Every statement is CREATE ... IF NOT EXISTS, so this runs on every start.
void createHistorySchema(QSqlDatabase& db);

// Kinds of account movement (cari_hareketler.TUR).
enum class MovementKind {
    SatisFaturasi = 1, // sales invoice: debit
    IadeFaturasi = 2,  // returns invoice: credit
    Tahsilat = 3,      // collection from the customer: credit
    Tediye = 4,        // payment to the customer: debit
    Devir = 5,         // carried-over balance: debit or credit
};

// The statement's type name of a movement kind, as the client matches it ("Fatura" in it for
// invoices, exactly "Tahsilat" or "Tediye" for collections and payments).
QString movementKindName(MovementKind kind);

struct CustomerTerms {
    qint32 account = 0;
    double discount = 0; // INDIRIM, percent
    qint32 termDays = 0; // VADE
    qint32 termCheckDays = 0;
    qint32 termCheckMonths = 0;
    QString codes[5]; // KOD1 to KOD5
};

struct InvoiceLine {
    QString barcode;
    QString oemNo;
    QString name;
    QString finishCode;
    QString make;
    QString model;
    QString mainGroup;
    QString specialCode;
    QString unit = QStringLiteral("ADET");
    double quantity = 0;
    double unitPrice = 0;
    double discount1 = 0; // percent
    double discount2 = 0; // percent, applied after the first
    double expense = 0;   // amount added to the line after the discounts
    double vat = 18;      // percent
    QString note;
    QString deliveryNoteNo;
    QString orderNo;
    QDate orderDate;
};

struct Invoice {
    qint32 account = 0;
    bool returns = false; // a returns invoice credits the account
    QDate date;
    QString time; // HH:mm
    QString documentNo;
    qint32 termDays = 0;
    QString representative;
    QString note;
    QVector<InvoiceLine> lines;
};

struct CollectionEntry {
    QString kind; // Cins: Nakit, Çek, Senet, Kredi Kartı, Havale/EFT
    QDate due;
    double amount = 0;
    QString note;
    QString reference;
};

struct Collection {
    qint32 account = 0;
    bool payment = false; // Tediye (we pay the customer) instead of Tahsilat
    QDate date;
    QString time;
    QString documentNo;
    QString note;
    QVector<CollectionEntry> entries;
};

// Money of one invoice line and of a whole invoice, rounded to kuruş.
struct LineMoney {
    double gross = 0;    // quantity x unit price
    double discount = 0; // both discounts
    double net = 0;      // gross - discount + expense
    double vat = 0;
};
LineMoney lineMoney(const InvoiceLine& line);
double roundKurus(double amount);

struct OutboxMessage {
    qint64 no = 0;
    QString kind; // "istek" (account or password request) or "mail"
    QString computerId;
    qint32 account = 0;
    QString recipient;
    QString title;
    QString body;
    QString time;
};

// Demo and test data of the history tables. Each add returns the number the row got.
class HistoryStore {
public:
    explicit HistoryStore(Storage& storage)
        : m_storage(storage)
    {
    }

    void setTerms(const CustomerTerms& terms);
    // The movement gets the invoice's grand total as debit (credit for returns).
    qint32 addInvoice(const Invoice& invoice);
    // The movement gets the sum of the entries as credit (debit for a payment).
    qint32 addCollection(const Collection& collection);
    // A carried-over balance: positive debits, negative credits the account.
    qint32 addOpeningBalance(qint32 account, const QDate& date, double amount);
    qint32 addAnnouncement(const QDate& date, const QString& title, const QString& html, bool active = true);
    qint32 addFile(const QString& description, const QString& fileName, const QByteArray& bytes);
    void storeBanner(const QByteArray& gif);
    // The note of whoever took the order (ALANNOTU, BizimMesaj of the footer).
    void setOrderNote(qint32 order, const QString& note);
    QVector<OutboxMessage> outbox();

private:
    qint32 addMovement(QSqlDatabase& db, qint32 account, MovementKind kind, const QDate& date, const QString& time,
                       const QString& documentNo, double debit, double credit, qint32 termDays,
                       const QString& representative, const QString& note);

    Storage& m_storage;
};

} // namespace velmora::server
