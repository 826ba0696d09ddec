// Measures how long a large table answer takes to become a client data set, against the time
// Qt needs only to parse the same JSON bytes.
#include "platform/data_set.h"
#include "platform/wire_codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <limits>

using namespace velmora;

namespace {

constexpr int kRows = 2000;
constexpr int kRuns = 20;

const QStringList kWords{
    QStringLiteral("Fren"),      QStringLiteral("Balatası"), QStringLiteral("Ön"),        QStringLiteral("Arka"),
    QStringLiteral("Şanzıman"),  QStringLiteral("Yağ"),      QStringLiteral("Filtresi"),  QStringLiteral("Çamurluk"),
    QStringLiteral("Sağ"),       QStringLiteral("Sol"),      QStringLiteral("Debriyaj"),  QStringLiteral("Diski"),
    QStringLiteral("Amortisör"), QStringLiteral("Göğüs"),    QStringLiteral("Kayışı"),    QStringLiteral("Triger"),
    QStringLiteral("Rulman"),    QStringLiteral("İç"),       QStringLiteral("Dış"),       QStringLiteral("Hortum"),
    QStringLiteral("Radyatör"),  QStringLiteral("Silecek"),  QStringLiteral("Süpürgesi"), QStringLiteral("Buji"),
    QStringLiteral("Conta"),     QStringLiteral("Kapak"),    QStringLiteral("Üst"),       QStringLiteral("Alt"),
    QStringLiteral("Takım"),     QStringLiteral("Müşir"),
};

// A text of roughly `minLength`..`maxLength` characters made of part words.
QString words(QRandomGenerator& random, int minLength, int maxLength)
{
    const int target = minLength + random.bounded(maxLength - minLength + 1);
    QString text;
    while (text.size() < target) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += kWords[random.bounded(kWords.size())];
    }
    return text.left(target);
}

// A stock list as the server sends it: numbers, prices, texts, a selection flag, some nulls.
Table makeTable()
{
    struct ColumnDef {
        const char* name;
        FieldType type;
    };
    const ColumnDef definitions[] = {
        {"STOKNO", FieldType::Int32},     {"SIRANO", FieldType::Int32},      {"STOKKODU", FieldType::Text},
        {"STOKADI", FieldType::Text},     {"MARKA", FieldType::Text},        {"GRUP", FieldType::Text},
        {"ARAGRUP", FieldType::Text},     {"BARKOD", FieldType::Text},       {"OEMNO", FieldType::Text},
        {"URETICIKODU", FieldType::Text}, {"ACIKLAMA", FieldType::Text},     {"ARACMODEL", FieldType::Text},
        {"BIRIM", FieldType::Text},       {"DOVIZ", FieldType::Text},        {"FIYAT", FieldType::Double},
        {"ILKFIYAT", FieldType::Double},  {"ISKONTO1", FieldType::Double},   {"ISKONTO2", FieldType::Double},
        {"NETFIYAT", FieldType::Double},  {"KDVLIFIYAT", FieldType::Double}, {"MIKTAR", FieldType::Double},
        {"KOLIADEDI", FieldType::Int32},  {"MERKEZSTOK", FieldType::Int32},  {"DEPOSTOK", FieldType::Int32},
        {"YOLDAKI", FieldType::Int32},    {"KAMPANYA", FieldType::Int32},    {"RESIMVAR", FieldType::Bool},
        {"SEC", FieldType::Int32},        {"TARIH", FieldType::Date},        {"KAYITNO", FieldType::Int64},
        {"DURUM", FieldType::Text},       {"RAF", FieldType::Text},          {"NOT1", FieldType::Text},
        {"NOT2", FieldType::Text},        {"TUTAR", FieldType::Double},
    };
    Table table;
    for (const ColumnDef& definition : definitions)
        table.columns.append({QString::fromLatin1(definition.name), definition.type});

    QRandomGenerator random(20240611);
    table.rows.reserve(kRows);
    for (int r = 0; r < kRows; ++r) {
        QVector<QVariant> row;
        row.reserve(table.columns.size());
        for (const Column& column : table.columns) {
            // About one cell in twenty-five is missing, except in the key column.
            if (column.name != QLatin1String("STOKNO") && random.bounded(25) == 0) {
                row.append(QVariant());
                continue;
            }
            switch (column.type) {
            case FieldType::Int32:
                row.append(column.name == QLatin1String("STOKNO") ? 100000 + r : random.bounded(5000));
                break;
            case FieldType::Int64:
                row.append(qint64(4000000000LL) + random.bounded(1000000));
                break;
            case FieldType::Double:
                row.append(random.bounded(10000000) / 100.0);
                break;
            case FieldType::Date:
                row.append(double(44000 + random.bounded(2000)));
                break;
            case FieldType::Bool:
                row.append(random.bounded(2) == 1);
                break;
            case FieldType::Text:
                row.append(words(random, 10, 60));
                break;
            case FieldType::Blob:
                row.append(QByteArray());
                break;
            }
        }
        table.rows.append(std::move(row));
    }
    return table;
}

// Best time of `kRuns` runs, in milliseconds.
double bestOf(const std::function<void()>& run)
{
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Table table = makeTable();
    const QByteArray body = wire::encodeAnswer({wire::encodeTable(table), QJsonArray()});

    int sink = 0;
    const double parseOnly = bestOf([&] {
        const QJsonDocument doc = QJsonDocument::fromJson(body);
        sink += doc.isObject() ? 1 : 0;
    });
    DataSet dataSet;
    const double decodeAndAssign = bestOf([&] {
        const CallAnswer answer = wire::decodeAnswer(body);
        dataSet.assignData(wire::decodeTable(answer.result));
        sink += dataSet.recordCount();
    });

    QTextStream out(stdout);
    out << "table:              " << table.rows.size() << " rows x " << table.columns.size() << " columns\n";
    out << "answer size:        " << body.size() << " bytes\n";
    out << "runs:               best of " << kRuns << "\n";
    out << "JSON parse only:    " << QString::number(parseOnly, 'f', 2) << " ms\n";
    out << "decode + assign:    " << QString::number(decodeAndAssign, 'f', 2) << " ms\n";
    out << "ratio:              " << QString::number(decodeAndAssign / parseOnly, 'f', 2) << " x\n";
    if (dataSet.recordCount() != kRows || sink == 0) {
        out << "error: the data set holds " << dataSet.recordCount() << " rows\n";
        return 1;
    }
    return 0;
}
