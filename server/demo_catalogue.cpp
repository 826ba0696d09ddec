#include "demo_catalogue.h"

#include "ordering_data.h"
#include "storage.h"

#include "platform/number_format.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>
#include <iterator>

namespace velmora::server {

namespace {

struct Brand {
    const char* name;
    const char* prefix;
};

const Brand kBrands[] = {
    {"Özdemir", "OZD"},     {"Karaca Fren", "KRC"}, {"Anka", "ANK"},  {"Tunç Otomotiv", "TNC"}, {"Bora", "BOR"},
    {"Mavi Filtre", "MVF"}, {"Yıldırım", "YLD"},    {"Ferro", "FER"}, {"Demirtaş", "DMR"},      {"Kuzey", "KZY"},
};

enum class Drawing {
    None,
    Disc,
    Filter,
    Shock,
    Pad,
};

struct PartKind {
    const char* name;
    const char* group;
    QVector<const char*> positions;
    double basePrice;
    int pack;
    Drawing drawing;
};

const QVector<PartKind>& partKinds()
{
    static const QVector<PartKind> kinds{
        {"Fren Balatası", "FREN", {"Ön", "Arka"}, 850, 1, Drawing::Pad},
        {"Fren Diski", "FREN", {"Ön", "Arka"}, 1400, 2, Drawing::Disc},
        {"Fren Merkezi", "FREN", {}, 2100, 1, Drawing::None},
        {"Yağ Filtresi", "FİLTRE", {}, 180, 1, Drawing::Filter},
        {"Hava Filtresi", "FİLTRE", {}, 260, 1, Drawing::Filter},
        {"Polen Filtresi", "FİLTRE", {}, 210, 1, Drawing::Filter},
        {"Yakıt Filtresi", "FİLTRE", {}, 320, 1, Drawing::Filter},
        {"Amortisör", "SÜSPANSİYON", {"Ön Sağ", "Ön Sol", "Arka Sağ", "Arka Sol"}, 1750, 1, Drawing::Shock},
        {"Rotil", "SÜSPANSİYON", {"Sağ", "Sol"}, 390, 1, Drawing::None},
        {"Salıncak", "SÜSPANSİYON", {"Ön Sağ", "Ön Sol"}, 980, 1, Drawing::None},
        {"Z Rot", "SÜSPANSİYON", {"Ön", "Arka"}, 280, 2, Drawing::None},
        {"Rot Başı", "DİREKSİYON", {"Sağ", "Sol"}, 340, 1, Drawing::None},
        {"Aks Körüğü", "ŞANZIMAN", {"İç", "Dış"}, 150, 1, Drawing::None},
        {"Debriyaj Seti", "ŞANZIMAN", {}, 3900, 1, Drawing::None},
        {"Triger Seti", "MOTOR", {}, 2600, 1, Drawing::None},
        {"Su Pompası", "MOTOR", {}, 1100, 1, Drawing::None},
        {"V Kayışı", "MOTOR", {}, 190, 5, Drawing::None},
        {"Motor Kulağı", "MOTOR", {"Sağ", "Sol", "Arka"}, 620, 1, Drawing::None},
        {"Buji", "ATEŞLEME", {}, 95, 4, Drawing::None},
        {"Ateşleme Bobini", "ATEŞLEME", {}, 890, 1, Drawing::None},
        {"Far Ampulü H7 12V 55W", "ELEKTRİK", {}, 60, 10, Drawing::None},
        {"Silecek Süpürgesi", "AKSESUAR", {"Sağ", "Sol", "Arka"}, 170, 2, Drawing::None},
        {"Radyatör", "SOĞUTMA", {}, 2400, 1, Drawing::None},
        {"Termostat", "SOĞUTMA", {}, 290, 1, Drawing::None},
        {"Egzoz Contası", "EGZOZ", {}, 45, 10, Drawing::None},
    };
    return kinds;
}

const char* const kModels[] = {
    "Egea 1.3 Multijet",  "Doblo 1.6",        "Clio IV 1.5 dCi",  "Megane III",  "Corsa D 1.3 CDTI", "Astra J",
    "Focus III 1.6 TDCi", "Transit 2.2",      "Golf VII 1.6 TDI", "Passat B7",   "Sprinter 313 CDI", "Symbol 1.5",
    "Accent Era",         "Corolla 1.4 D-4D", "Partner Tepee",    "Fiorino 1.3", "Caddy 2.0 TDI",    "Kangoo 1.5 dCi"};

const char* const kSpecialCodes[] = {"A", "B", "C", "İTHAL", "YERLİ"};

QString digits(QRandomGenerator& random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + random.bounded(10));
    return text;
}

QString letters(QRandomGenerator& random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'A' + random.bounded(26));
    return text;
}

// OEM numbers in the shapes the vehicle makers use.
QString oemNumber(QRandomGenerator& random)
{
    switch (random.bounded(5)) {
    case 0:
        return QStringLiteral("%1 %2 %3").arg(digits(random, 4), digits(random, 3), digits(random, 3));
    case 1:
        return QStringLiteral("%1%2 %3 %4 %5")
            .arg(digits(random, 1), letters(random, 1) + digits(random, 1), digits(random, 3), digits(random, 3),
                 letters(random, 2));
    case 2:
        return QStringLiteral("%1 %2 %3").arg(digits(random, 2), digits(random, 3), digits(random, 3));
    case 3:
        return QStringLiteral("%1-%2").arg(letters(random, 2) + digits(random, 2), digits(random, 5));
    default:
        return digits(random, 10);
    }
}

qint32 stockState(QRandomGenerator& random)
{
    const int roll = random.bounded(100);
    if (roll < 62)
        return 1;
    if (roll < 72)
        return 0;
    if (roll < 78)
        return 2;
    if (roll < 85)
        return 3;
    if (roll < 89)
        return 4;
    if (roll < 94)
        return 5;
    return 6;
}

// A product photo stand-in: the part's outline in grey on white, as JPEG.
QByteArray drawPicture(Drawing drawing, int variant)
{
    QImage image(480, 360, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor metal = QColor::fromHsv((200 + variant * 23) % 360, 30, 150);
    p.setPen(QPen(metal.darker(160), 4));
    p.setBrush(metal);
    switch (drawing) {
    case Drawing::Disc: {
        p.drawEllipse(QPointF(240, 180), 150, 150);
        p.setBrush(metal.lighter(130));
        p.drawEllipse(QPointF(240, 180), 70, 70);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(240, 180), 28, 28);
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * M_PI / 5;
            p.drawEllipse(QPointF(240 + 48 * std::cos(a), 180 + 48 * std::sin(a)), 8, 8);
        }
        break;
    }
    case Drawing::Filter:
        p.drawRoundedRect(QRectF(150, 60, 180, 250), 24, 24);
        p.setPen(QPen(metal.darker(200), 2));
        for (int y = 90; y < 300; y += 14)
            p.drawLine(160, y, 320, y);
        p.setBrush(metal.darker(130));
        p.drawEllipse(QPointF(240, 60), 90, 16);
        break;
    case Drawing::Shock:
        p.drawRect(QRectF(215, 40, 50, 160));
        p.setBrush(metal.lighter(140));
        p.drawRect(QRectF(232, 200, 16, 110));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(240, 30), 18, 18);
        p.drawEllipse(QPointF(240, 325), 18, 18);
        break;
    case Drawing::Pad:
    case Drawing::None: {
        QPainterPath pad;
        pad.moveTo(80, 150);
        pad.cubicTo(160, 80, 320, 80, 400, 150);
        pad.lineTo(380, 250);
        pad.cubicTo(300, 200, 180, 200, 100, 250);
        pad.closeSubpath();
        p.drawPath(pad);
        p.setBrush(metal.darker(140));
        p.drawEllipse(QPointF(140, 170), 12, 12);
        p.drawEllipse(QPointF(340, 170), 12, 12);
        break;
    }
    }
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes;
}

void addShipping(QSqlDatabase& db)
{
    const QStringList deliveries{QStringLiteral("Gel Al"), QStringLiteral("Kargo"), QStringLiteral("Ambar"),
                                 QStringLiteral("Servis")};
    for (int i = 0; i < deliveries.size(); ++i)
        Storage::run(db, QStringLiteral("INSERT INTO teslim_sekilleri (KOD, ADI, SIRA) VALUES (?, ?, ?)"),
                     {i + 1, deliveries.at(i), i});
    const QStringList kinds{QStringLiteral("Alıcı Ödemeli"), QStringLiteral("Gönderici Ödemeli"),
                            QStringLiteral("Anlaşmalı")};
    for (int i = 0; i < kinds.size(); ++i)
        Storage::run(db, QStringLiteral("INSERT INTO kargo_turleri (KOD, ADI, SIRA) VALUES (?, ?, ?)"),
                     {i + 1, kinds.at(i), i});
    struct Company {
        QString name;
        QString warning;
        QVector<int> kinds;
    };
    const QVector<Company> companies{
        {QStringLiteral("Hızlı Kargo"),
         QStringLiteral("16:00'dan sonra verilen siparişler ertesi iş günü kargoya verilir."),
         {1, 2, 3}},
        {QStringLiteral("Marmara Lojistik"), QString(), {1, 2}},
        {QStringLiteral("Anadolu Ambar Nakliyat"), QString(), {1, 3}},
        {QStringLiteral("Boğaziçi Kurye"), QString(), {2}},
    };
    for (const Company& c : companies) {
        const qint32 no = insertRow(db, QStringLiteral("kargo_firmalari"), QStringLiteral("SIRANO"), 0,
                                    {QStringLiteral("ADI"), QStringLiteral("UYARI")}, {c.name, c.warning});
        for (int kind : c.kinds)
            Storage::run(db,
                         QStringLiteral("INSERT INTO kargo_turu_firmalari (KARGOTURU, FIRMA, SIRA) VALUES (?, ?, ?)"),
                         {kind, no, no});
    }
}

bool fillCatalogue(Storage& storage, int items)
{
    return storage.write([&](QSqlDatabase& db) {
        if (Storage::run(db, QStringLiteral("SELECT 1 FROM stoklar LIMIT 1")).next())
            return false;
        // A fixed start, so every demo database holds the same catalogue.
        QRandomGenerator random(7321);
        QVector<qint32> brands;
        for (const Brand& b : kBrands)
            brands << insertRow(db, QStringLiteral("markalar"), QStringLiteral("MARKANO"), 0, {QStringLiteral("ADI")},
                                {QString::fromUtf8(b.name)});

        StockWriter writer(db);
        const auto& kinds = partKinds();
        int pictures = 0;
        for (int i = 0; i < items; ++i) {
            const int brandIndex = random.bounded(int(std::size(kBrands)));
            const PartKind& kind = kinds.at(random.bounded(kinds.size()));
            const QString model = QString::fromUtf8(kModels[random.bounded(int(std::size(kModels)))]);
            StockItem s;
            s.code = QStringLiteral("%1-%2")
                         .arg(QLatin1String(kBrands[brandIndex].prefix))
                         .arg(i + 1, 6, 10, QLatin1Char('0'));
            s.name = QString::fromUtf8(kind.name);
            if (!kind.positions.isEmpty())
                s.name +=
                    QLatin1Char(' ') + QString::fromUtf8(kind.positions.at(random.bounded(kind.positions.size())));
            s.otherName = s.name + QStringLiteral(" ") + model;
            s.oem1 = oemNumber(random);
            if (random.bounded(2))
                s.oem2 = oemNumber(random);
            if (random.bounded(4) == 0)
                s.oem3 = oemNumber(random);
            s.oemNo = s.oem1;
            s.finishCode = QStringLiteral("F%1").arg(digits(random, 7));
            s.makerCode = QLatin1String(kBrands[brandIndex].prefix) + digits(random, 6);
            s.brand = brands.at(brandIndex);
            s.model = model;
            s.mainGroup = QString::fromUtf8(kind.group);
            s.specialCode = QString::fromUtf8(kSpecialCodes[random.bounded(int(std::size(kSpecialCodes)))]);
            s.unit = s.name.contains(QStringLiteral("Seti")) ? QStringLiteral("TAKIM") : QStringLiteral("ADET");
            s.packQuantity = kind.pack;
            s.vat = 20;
            s.state = stockState(random);
            s.onHand = s.state == 0 ? 0 : random.bounded(1, 400);
            s.givenOrders = random.bounded(8) == 0 ? random.bounded(10, 200) : 0;
            s.listPrice = IkiHaneYuvarla(kind.basePrice * (0.7 + random.generateDouble() * 0.9));
            if (random.bounded(20) == 0)
                s.campaignPrice = IkiHaneYuvarla(s.listPrice * (0.75 + random.generateDouble() * 0.15));
            s.isNew = random.bounded(30) == 0;
            const qint32 no = writer.add(s);
            if (kind.drawing != Drawing::None && pictures < 24) {
                writer.setPicture(no, drawPicture(kind.drawing, pictures));
                ++pictures;
            }
        }

        // Every account gets a general discount; every second one a better rate for one brand.
        QSqlQuery accounts = Storage::run(db, QStringLiteral("SELECT CARINO FROM cariler ORDER BY CARINO"));
        QVector<qint32> accountNos;
        while (accounts.next())
            accountNos << accounts.value(0).toInt();
        accounts.finish();
        for (int i = 0; i < accountNos.size(); ++i) {
            Storage::run(
                db, QStringLiteral("INSERT INTO cari_iskontolari (CARINO, MARKANO, IND1, IND2) VALUES (?, 0, ?, ?)"),
                {accountNos.at(i), 10 + 5 * (i % 3), i % 2 ? 5 : 0});
            if (i % 2 == 0)
                Storage::run(db,
                             QStringLiteral("INSERT INTO cari_iskontolari (CARINO, MARKANO, IND1, IND2, IND3)"
                                            " VALUES (?, ?, 25, 10, 2.5)"),
                             {accountNos.at(i), brands.at(i % brands.size())});
        }
        addShipping(db);
        return true;
    });
}

} // namespace

bool fillDemoCatalogue(Storage& storage, int items)
{
    const bool filled = fillCatalogue(storage, items);
    // PostgreSQL plans the searches by table statistics, which autovacuum gathers only later:
    // without them the trigram index was passed over, 150 ms a search over 100,000 items.
    if (filled && storage.engine() == Engine::PostgreSQL)
        storage.write([](QSqlDatabase& db) { Storage::run(db, QStringLiteral("ANALYZE")); });
    return filled;
}

} // namespace velmora::server
