#include "platform/xls_read_back.h"
#include "platform/xls_writer.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <stdexcept>

using namespace velmora;

namespace {

QJsonArray cell(const QJsonObject& sheet, int row, int column)
{
    return sheet[QStringLiteral("rows")].toArray()[row].toArray()[column].toArray();
}

enum CellType {
    Empty = 0,
    Text = 1,
    Number = 2,
    Date = 3,
    Boolean = 4,
};

// The long texts of the large sheet: unique per row, some with letters beyond Latin-1 (stored as
// two bytes a character), some without, so both kinds cross record boundaries.
QString longText(int row)
{
    const QString base = row % 3 == 0 ? QStringLiteral("Fren balatası ön takım ") : QStringLiteral("ğüşıöç ĞÜŞİÖÇ ");
    return QStringLiteral("%1:").arg(row) + base.repeated(220 / base.size());
}

} // namespace

class TestXlsWriter : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void valuesKeepTheirKinds()
    {
        const QString path = m_dir.filePath(QStringLiteral("sepet.xls"));
        const QStringList header{QStringLiteral("Stok No"), QStringLiteral("Açıklama"), QStringLiteral("Net Tutar"),
                                 QStringLiteral("Tarih"), QStringLiteral("Seç")};
        const QVector<QVector<QVariant>> rows{
            {42, QStringLiteral("ğüşıöçĞÜŞİÖÇ"), 1234.5, QDate(2024, 2, 29), true},
            {QVariant(), QString(), -0.25, QVariant(), false},
            {qint64(9007199254740), QStringLiteral("Şanzıman yağı"), 0, QVariant(), QVariant()},
        };
        writeXls(path, QStringLiteral("Sepet/Ğ"), header, rows);

        const QJsonObject sheet = readXlsBack(path);
        QVERIFY2(!sheet.contains(QStringLiteral("error")), qPrintable(sheet[QStringLiteral("error")].toString()));
        QCOMPARE(sheet[QStringLiteral("warnings")].toString(), QString());
        QCOMPARE(sheet[QStringLiteral("sheets")].toInt(), 1);
        QCOMPARE(sheet[QStringLiteral("name")].toString(), QStringLiteral("Sepet_Ğ"));
        QCOMPARE(sheet[QStringLiteral("rows")].toArray().size(), 4);

        for (int c = 0; c < header.size(); ++c)
            QCOMPARE(cell(sheet, 0, c), (QJsonArray{Text, header[c]}));
        QCOMPARE(cell(sheet, 1, 0), (QJsonArray{Number, 42}));
        QCOMPARE(cell(sheet, 1, 1), (QJsonArray{Text, QStringLiteral("ğüşıöçĞÜŞİÖÇ")}));
        QCOMPARE(cell(sheet, 1, 2), (QJsonArray{Number, 1234.5}));
        QCOMPARE(cell(sheet, 1, 3), (QJsonArray{Date, QJsonArray{2024, 2, 29, 0, 0, 0}}));
        QCOMPARE(cell(sheet, 1, 4), (QJsonArray{Boolean, 1}));
        QCOMPARE(cell(sheet, 2, 0)[0].toInt(), int(Empty));
        QCOMPARE(cell(sheet, 2, 1)[0].toInt(), int(Empty));
        QCOMPARE(cell(sheet, 2, 2), (QJsonArray{Number, -0.25}));
        QCOMPARE(cell(sheet, 2, 3)[0].toInt(), int(Empty));
        QCOMPARE(cell(sheet, 2, 4), (QJsonArray{Boolean, 0}));
        QCOMPARE(cell(sheet, 3, 0), (QJsonArray{Number, 9007199254740.0}));
        QCOMPARE(cell(sheet, 3, 1), (QJsonArray{Text, QStringLiteral("Şanzıman yağı")}));
        QCOMPARE(cell(sheet, 3, 2), (QJsonArray{Number, 0}));
    }

    // 20,000 rows whose unique long texts make a string table of several megabytes: it runs
    // through hundreds of continuation records, and the file needs more FAT sectors than the
    // header can list.
    void largeSheetReadsBackWhole()
    {
        const QString path = m_dir.filePath(QStringLiteral("stok.xls"));
        const int rowCount = 20000;
        QVector<QVector<QVariant>> rows;
        rows.reserve(rowCount);
        for (int r = 0; r < rowCount; ++r)
            rows.append({r, r * 1.25, longText(r), r % 2 ? QStringLiteral("Var") : QStringLiteral("Yok"), QVariant()});
        writeXls(path, QStringLiteral("Stok"), {"No", "Fiyat", "Açıklama", "Durum", "Boş"}, rows);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(512);
        const quint32 extraFatListSectors = qFromLittleEndian<quint32>(head.constData() + 0x48);
        QVERIFY2(extraFatListSectors > 0, "the file is too small to need the extended FAT list");

        const QJsonObject sheet = readXlsBack(path);
        QVERIFY2(!sheet.contains(QStringLiteral("error")), qPrintable(sheet[QStringLiteral("error")].toString()));
        QCOMPARE(sheet[QStringLiteral("warnings")].toString(), QString());
        const QJsonArray readRows = sheet[QStringLiteral("rows")].toArray();
        QCOMPARE(readRows.size(), rowCount + 1);
        for (int r = 0; r < rowCount; ++r) {
            const QJsonArray row = readRows[r + 1].toArray();
            if (row[0].toArray()[1].toDouble() != r || row[1].toArray()[1].toDouble() != r * 1.25 ||
                row[2].toArray()[1].toString() != longText(r) ||
                row[3].toArray()[1].toString() != (r % 2 ? QStringLiteral("Var") : QStringLiteral("Yok")) ||
                row[4].toArray()[0].toInt() != Empty)
                QFAIL(qPrintable(QStringLiteral("row %1 differs: %2")
                                     .arg(r)
                                     .arg(QString::fromUtf8(QJsonDocument(row).toJson(QJsonDocument::Compact)))));
        }
    }

    void failuresThrow()
    {
        const QVector<QVector<QVariant>> tooManyRows(65536, QVector<QVariant>{1});
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 writeXls(m_dir.filePath(QStringLiteral("a.xls")), {}, {"x"}, tooManyRows));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, writeXls(m_dir.filePath(QStringLiteral("b.xls")), {},
                                                                 QStringList(257, QStringLiteral("x")), {}));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 writeXls(m_dir.filePath(QStringLiteral("yok/klasor/c.xls")), {}, {"x"}, {{1}}));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("a.xls"))));
    }
};

QTEST_GUILESS_MAIN(TestXlsWriter)
#include "test_xls_writer.moc"
