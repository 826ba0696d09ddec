#include "report_pdf.h"

#include "method_table.h"
#include "schema_history.h"
#include "storage.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>

#include <optional>

namespace velmora::server {

namespace {

const QLocale turkish(QLocale::Turkish, QLocale::Turkey);

QString money(double amount)
{
    return turkish.toString(amount, 'f', 2);
}

// The day a movement h falls due, as yyyy-MM-dd text.
QString dueDaySql(Engine engine)
{
    if (engine == Engine::PostgreSQL)
        return QStringLiteral("to_char(CAST(h.TARIH AS date) + h.VADE, 'YYYY-MM-DD')");
    return QStringLiteral("date(h.TARIH, '+' || h.VADE || ' days')");
}

QString day(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

struct AccountHeader {
    qint32 no = 0;
    QString code;
    QString name;
    QString city;
    QString representative;
};

std::optional<AccountHeader> findAccount(QSqlDatabase& db, qint32 no)
{
    QSqlQuery q = Storage::run(db,
                               QStringLiteral("SELECT c.CARINO, c.CARIKOD, c.CARIADI, c.SEHIR, COALESCE(s.ADI, '')"
                                              " FROM cariler c LEFT JOIN saticilar s ON s.SATICINO = c.SATICINO"
                                              " WHERE c.CARINO = ?"),
                               {no});
    if (!q.next())
        return std::nullopt;
    return AccountHeader{q.value(0).toInt(), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                         q.value(4).toString()};
}

// A table of text cells drawn on pages that follow one another.
class ReportPainter {
public:
    ReportPainter(QPdfWriter& writer, const QString& title)
        : m_writer(writer)
        , m_title(title)
    {
        m_painter.begin(&m_writer);
        m_width = m_writer.width();
        m_height = m_writer.height();
        startPage();
    }
    ~ReportPainter() { m_painter.end(); }

    void line(const QString& text, bool bold = false)
    {
        room(m_lineHeight);
        QFont f = bodyFont();
        f.setBold(bold);
        m_painter.setFont(f);
        m_painter.drawText(QRectF(0, m_y, m_width, m_lineHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
        m_y += m_lineHeight;
    }
    void gap() { m_y += m_lineHeight / 2; }

    // Column widths are parts of the page width; numbers are right-aligned.
    void columns(const QVector<double>& parts, const QVector<bool>& numeric)
    {
        m_parts = parts;
        m_numeric = numeric;
    }
    void row(const QStringList& cells, bool header = false)
    {
        room(m_lineHeight);
        QFont f = bodyFont();
        f.setBold(header);
        m_painter.setFont(f);
        if (header)
            m_painter.fillRect(QRectF(0, m_y, m_width, m_lineHeight), QColor(0xe8, 0xe8, 0xe8));
        double x = 0;
        for (int i = 0; i < cells.size() && i < m_parts.size(); ++i) {
            const double w = m_parts[i] * m_width;
            const Qt::Alignment align = (!header && m_numeric.value(i)) ? Qt::AlignRight : Qt::AlignLeft;
            m_painter.drawText(QRectF(x + 3, m_y, w - 6, m_lineHeight), align | Qt::AlignVCenter,
                               m_painter.fontMetrics().elidedText(cells[i], Qt::ElideRight, int(w - 6)));
            x += w;
        }
        m_y += m_lineHeight;
        m_painter.setPen(QColor(0xc0, 0xc0, 0xc0));
        m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
        m_painter.setPen(Qt::black);
    }

private:
    QFont bodyFont() const
    {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(11);
        return f;
    }
    void startPage()
    {
        ++m_page;
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(16);
        f.setBold(true);
        m_painter.setFont(f);
        m_painter.setPen(QColor(0x8e, 0x12, 0x12));
        m_painter.drawText(QRectF(0, 0, m_width, 24), Qt::AlignLeft | Qt::AlignVCenter,
                           QStringLiteral("VELMORA OTOMOTİV"));
        f.setPixelSize(10);
        f.setBold(false);
        m_painter.setFont(f);
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(0, 0, m_width, 24), Qt::AlignRight | Qt::AlignVCenter,
                           QStringLiteral("Sayfa %1").arg(m_page));
        f.setPixelSize(13);
        f.setBold(true);
        m_painter.setFont(f);
        m_painter.drawText(QRectF(0, 26, m_width, 20), Qt::AlignLeft | Qt::AlignVCenter, m_title);
        m_y = 54;
    }
    void room(double needed)
    {
        if (m_y + needed <= m_height)
            return;
        m_writer.newPage();
        startPage();
    }

    QPdfWriter& m_writer;
    QPainter m_painter;
    QString m_title;
    double m_width = 0;
    double m_height = 0;
    double m_y = 0;
    double m_lineHeight = 17;
    int m_page = 0;
    QVector<double> m_parts;
    QVector<bool> m_numeric;
};

// Account summary on a day: the balance then, and every movement up to it.
void accountSummary(QSqlDatabase& db, ReportPainter& out, const AccountHeader& account, const QDate& on)
{
    out.line(QStringLiteral("Cari: %1  %2").arg(account.code, account.name), true);
    out.line(QStringLiteral("Şehir: %1    Satıcı: %2").arg(account.city, account.representative));
    out.line(QStringLiteral("Tarih: %1").arg(day(on)));
    out.gap();
    out.columns({0.13, 0.2, 0.17, 0.15, 0.15, 0.2}, {false, false, false, true, true, true});
    out.row({QStringLiteral("Tarih"), QStringLiteral("Tür"), QStringLiteral("Evrak No"), QStringLiteral("Borç"),
             QStringLiteral("Alacak"), QStringLiteral("Bakiye")},
            true);
    QSqlQuery q = Storage::run(db,
                               QStringLiteral("SELECT TARIH, TUR, EVRAKNO, BORC, ALACAK FROM cari_hareketler"
                                              " WHERE CARINO = ? AND TARIH <= ? ORDER BY TARIH, IDNO"),
                               {account.no, on.toString(Qt::ISODate)});
    double debit = 0, credit = 0;
    while (q.next()) {
        debit = roundKurus(debit + q.value(3).toDouble());
        credit = roundKurus(credit + q.value(4).toDouble());
        out.row({day(QDate::fromString(q.value(0).toString(), Qt::ISODate)),
                 movementKindName(static_cast<MovementKind>(q.value(1).toInt())), q.value(2).toString(),
                 money(q.value(3).toDouble()), money(q.value(4).toDouble()), money(roundKurus(debit - credit))});
    }
    out.gap();
    out.line(QStringLiteral("Toplam Borç: %1 TL    Toplam Alacak: %2 TL").arg(money(debit), money(credit)), true);
    const double balance = roundKurus(debit - credit);
    out.line(QStringLiteral("Bakiye: %1 TL %2")
                 .arg(money(std::abs(balance)), balance > 0   ? QStringLiteral("(Borçlu)")
                                                : balance < 0 ? QStringLiteral("(Alacaklı)")
                                                              : QString()),
             true);
}

// Receivables of every account (of one representative) on a day: balance and the part of it
// whose invoices are past their due date, the oldest debts being paid first.
void receivablesByDue(QSqlDatabase& db, ReportPainter& out, const QString& representative, const QDate& on)
{
    const bool everyone = representative.trimmed().isEmpty() || representative == QLatin1String(".");
    out.line(QStringLiteral("Satıcı: %1    Tarih: %2").arg(everyone ? QStringLiteral("Tümü") : representative, day(on)),
             true);
    out.gap();
    out.columns({0.14, 0.34, 0.16, 0.18, 0.18}, {false, false, false, true, true});
    out.row({QStringLiteral("Cari Kod"), QStringLiteral("Cari Adı"), QStringLiteral("Satıcı"), QStringLiteral("Bakiye"),
             QStringLiteral("Vadesi Geçen")},
            true);
    const QString day = on.toString(Qt::ISODate);
    QSqlQuery q =
        Storage::run(db,
                     QStringLiteral("SELECT c.CARIKOD, c.CARIADI, COALESCE(s.ADI, ''),"
                                    " COALESCE(SUM(CASE WHEN h.TARIH <= ? THEN h.BORC - h.ALACAK END), 0),"
                                    " COALESCE(SUM(CASE WHEN %1 < ? THEN h.BORC END), 0),"
                                    " COALESCE(SUM(CASE WHEN h.TARIH <= ? THEN h.ALACAK END), 0)"
                                    " FROM cariler c LEFT JOIN saticilar s ON s.SATICINO = c.SATICINO"
                                    " LEFT JOIN cari_hareketler h ON h.CARINO = c.CARINO"
                                    " WHERE ? = 1 OR s.ADI = ? OR s.SATICINO IN"
                                    "  (SELECT SATICINO FROM kullanicilar WHERE ADI = ? AND MUSTERITIPI IN (1, 2))"
                                    " GROUP BY c.CARINO, c.CARIKOD, c.CARIADI, s.ADI ORDER BY c.CARIKOD")
                         .arg(dueDaySql(engineOf(db))),
                     {day, day, day, everyone ? 1 : 0, representative, representative});
    double total = 0, overdueTotal = 0;
    while (q.next()) {
        const double balance = roundKurus(q.value(3).toDouble());
        const double overdue = std::max(0.0, roundKurus(q.value(4).toDouble() - q.value(5).toDouble()));
        total = roundKurus(total + balance);
        overdueTotal = roundKurus(overdueTotal + overdue);
        out.row({q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), money(balance),
                 money(std::min(overdue, std::max(balance, 0.0)))});
    }
    out.gap();
    out.line(QStringLiteral("Toplam Bakiye: %1 TL").arg(money(total)), true);
}

// Purchases and sales of one account over a period, with the representative of each document.
void purchasesAndSales(QSqlDatabase& db, ReportPainter& out, const AccountHeader& account,
                       const QString& representative, const QDate& from, const QDate& to)
{
    out.line(QStringLiteral("Cari: %1  %2").arg(account.code, account.name), true);
    out.line(QStringLiteral("Satıcı: %1").arg(representative.isEmpty() ? account.representative : representative));
    out.line(QStringLiteral("Dönem: %1 - %2").arg(day(from), day(to)));
    out.gap();
    out.columns({0.12, 0.2, 0.15, 0.2, 0.16, 0.17}, {false, false, false, false, true, true});
    out.row({QStringLiteral("Tarih"), QStringLiteral("Tür"), QStringLiteral("Evrak No"), QStringLiteral("Satıcı"),
             QStringLiteral("Satış"), QStringLiteral("Alış / Ödeme")},
            true);
    QSqlQuery q = Storage::run(db,
                               QStringLiteral("SELECT TARIH, TUR, EVRAKNO, SATICIADI, BORC, ALACAK FROM cari_hareketler"
                                              " WHERE CARINO = ? AND TARIH BETWEEN ? AND ? ORDER BY TARIH, IDNO"),
                               {account.no, from.toString(Qt::ISODate), to.toString(Qt::ISODate)});
    double sales = 0, returns = 0, collected = 0, paid = 0;
    while (q.next()) {
        const auto kind = static_cast<MovementKind>(q.value(1).toInt());
        const double debit = q.value(4).toDouble();
        const double credit = q.value(5).toDouble();
        if (kind == MovementKind::SatisFaturasi)
            sales = roundKurus(sales + debit);
        else if (kind == MovementKind::IadeFaturasi)
            returns = roundKurus(returns + credit);
        else if (kind == MovementKind::Tahsilat)
            collected = roundKurus(collected + credit);
        else if (kind == MovementKind::Tediye)
            paid = roundKurus(paid + debit);
        out.row({day(QDate::fromString(q.value(0).toString(), Qt::ISODate)), movementKindName(kind),
                 q.value(2).toString(), q.value(3).toString(), money(debit), money(credit)});
    }
    out.gap();
    out.line(QStringLiteral("Satış: %1 TL    İade: %2 TL").arg(money(sales), money(returns)), true);
    out.line(QStringLiteral("Tahsilat: %1 TL    Tediye: %2 TL").arg(money(collected), money(paid)), true);
    out.line(QStringLiteral("Net Satış: %1 TL").arg(money(roundKurus(sales - returns))), true);
}

} // namespace

QByteArray renderReport(Storage& storage, const ReportRequest& r)
{
    if (r.number != 6 && r.number != 7)
        throw CallError::badRequest(QStringLiteral("Bilinmeyen rapor: %1").arg(r.number));
    if (!r.from.isValid() || !r.to.isValid() || r.to < r.from)
        throw CallError::badRequest(QStringLiteral("Rapor tarihleri geçersiz: bitiş başlangıçtan önce olamaz"));
    if (r.number == 7 && r.account <= 0)
        throw CallError::badRequest(QStringLiteral("Cari Alış Satış Tablosu bir cari için alınır"));

    return storage.read([&](QSqlDatabase& db) {
        std::optional<AccountHeader> account;
        if (r.account > 0) {
            account = findAccount(db, r.account);
            if (!account)
                throw CallError::badRequest(QStringLiteral("Cari bulunamadı: %1").arg(r.account));
        }
        QString title;
        if (r.number == 7)
            title = QStringLiteral("Cari Alış Satış Tablosu (Satıcılı) %1 - %2").arg(day(r.from), day(r.to));
        else if (account)
            title = QStringLiteral("Cari Özeti %1").arg(day(r.from));
        else
            title = QStringLiteral("Cari Toplu Alacak Vadeleri %1").arg(day(r.from));

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setTitle(title);
            writer.setCreator(QStringLiteral("velmora-server"));
            writer.setResolution(96);
            writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
                                             QPageLayout::Millimeter));
            ReportPainter out(writer, title);
            if (r.number == 7)
                purchasesAndSales(db, out, *account, r.representative, r.from, r.to);
            else if (account)
                accountSummary(db, out, *account, r.from);
            else
                receivablesByDue(db, out, r.representative, r.from);
        }
        return buffer.data();
    });
}

} // namespace velmora::server
