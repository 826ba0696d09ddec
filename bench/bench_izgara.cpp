// The grid with tens of thousands of rows: attaching a filled data set, the first paint, paints
// while scrolling through it, a header filter, the footer sums and a best fit; and the memory
// that the rows take in the data set.

#include "platform/data_set.h"
#include "platform/ui/grid_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace velmora;

namespace {

long residentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = statm.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : 0;
}

double msSince(const QElapsedTimer& t)
{
    return t.nsecsElapsed() / 1e6;
}

QVector<QPixmap> stateImages()
{
    QVector<QPixmap> images;
    for (const QColor& colour : {QColor(200, 54, 54), QColor(46, 150, 72), QColor(37, 99, 170), QColor(230, 140, 30)}) {
        QPixmap p(24, 24);
        p.fill(colour);
        images.append(p);
    }
    return images;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1000, atoi(argv[1])) : 50000;

    static const char* brands[] = {"Vaxtor", "Ferro", "Karaca Fren", "Mavi Filtre", "Kuzey", "Delta Conta"};
    static const char* names[] = {"Fren Balatası Ön Takım", "Egzoz Contası", "Yağ Filtresi", "Debriyaj Seti",
                                  "Amortisör Arka Sol",     "Triger Kayışı", "Su Pompası",   "Rot Başı Sağ"};
    const long before = residentKiB();
    Table table;
    table.columns = {{QStringLiteral("STOKNO"), FieldType::Int32},    {QStringLiteral("DURUM"), FieldType::Int32},
                     {QStringLiteral("OEM1"), FieldType::Text},       {QStringLiteral("OEM2"), FieldType::Text},
                     {QStringLiteral("ADI"), FieldType::Text},        {QStringLiteral("FINISHKOD"), FieldType::Text},
                     {QStringLiteral("MARKA"), FieldType::Text},      {QStringLiteral("MODEL"), FieldType::Text},
                     {QStringLiteral("KOLI"), FieldType::Int32},      {QStringLiteral("LISTEFIYAT"), FieldType::Double},
                     {QStringLiteral("NETFIYAT"), FieldType::Double}, {QStringLiteral("KDVDAHIL"), FieldType::Double},
                     {QStringLiteral("Y"), FieldType::Int32}};
    QRandomGenerator random(7);
    table.rows.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        const double price = 10 + random.bounded(200000) / 100.0;
        table.rows.append({i + 1, int(random.bounded(4)), QStringLiteral("7700%1").arg(300000 + i),
                           QStringLiteral("51 74 %1").arg(800000 + i),
                           QStringLiteral("%1 %2").arg(QString::fromUtf8(names[i % 8])).arg(i),
                           QStringLiteral("F%1").arg(i), QString::fromUtf8(brands[i % 6]),
                           QStringLiteral("Doblo 1.3 Multijet"), 4, price, price * 0.9, price * 0.9 * 1.2,
                           int(i % 11 == 0)});
    }
    DataSet stok;
    stok.assignData(std::move(table));
    for (const char* field : {"LISTEFIYAT", "NETFIYAT", "KDVDAHIL"})
        stok.setDisplayFormat(QLatin1String(field), QStringLiteral("#,###,##0.00"));
    const long filled = residentKiB();

    GridView grid;
    auto column = [](const char* field, const char* caption, CellKind kind, int weight) {
        GridColumn c;
        c.objectName = QLatin1String(field);
        c.fieldName = QLatin1String(field);
        c.caption = QString::fromUtf8(caption);
        c.kind = kind;
        c.weight = weight;
        c.wrap = kind == CellKind::Text;
        return c;
    };
    GridColumn state = column("DURUM", "Durum", CellKind::Image, 1);
    state.images = stateImages();
    grid.setColumns({state, column("OEM1", "Oem1", CellKind::Text, 2), column("OEM2", "Oem2", CellKind::Text, 2),
                     column("ADI", "Açıklama", CellKind::Text, 3), column("FINISHKOD", "Finish Kod", CellKind::Text, 2),
                     column("MARKA", "Marka", CellKind::Text, 2), column("MODEL", "Model", CellKind::Text, 2),
                     column("KOLI", "Koli", CellKind::Number, 1), column("LISTEFIYAT", "Liste", CellKind::Number, 2),
                     column("NETFIYAT", "Net", CellKind::Number, 2),
                     column("KDVDAHIL", "KDV Dahil", CellKind::Number, 2), column("Y", "Yeni", CellKind::CheckBox, 1)});
    grid.setSummary(QStringLiteral("ADI"), SummaryKind::Count);
    grid.setSummary(QStringLiteral("KDVDAHIL"), SummaryKind::Sum);
    grid.setRowHeight(70);
    grid.resize(1350, 600);
    grid.show();
    grid.applyWeightWidths(1350);
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    grid.setDataSet(&stok);
    const double attachMs = msSince(t);

    t.restart();
    QTableView* view = grid.tableView();
    view->viewport()->grab();
    const QString sum = grid.summaryText(QStringLiteral("KDVDAHIL"));
    const double firstPaintMs = msSince(t);

    // Jumps to random places, as a dragged scroll bar does, each followed by a full repaint.
    std::vector<double> frames;
    QScrollBar* bar = view->verticalScrollBar();
    for (int i = 0; i < 300; ++i) {
        t.restart();
        bar->setValue(random.bounded(bar->maximum() + 1));
        view->viewport()->grab();
        frames.push_back(msSince(t));
    }
    std::sort(frames.begin(), frames.end());

    t.restart();
    grid.setFilter(QStringLiteral("MARKA"), QStringLiteral("Ferro"));
    const int filteredRows = grid.rowCount();
    const QString filteredSum = grid.summaryText(QStringLiteral("KDVDAHIL"));
    view->viewport()->grab();
    const double filterMs = msSince(t);
    t.restart();
    grid.clearFilters();
    view->viewport()->grab();
    const double unfilterMs = msSince(t);

    t.restart();
    grid.bestFitAll();
    view->viewport()->grab();
    const double bestFitMs = msSince(t);

    std::printf("grid of %d rows x 12 columns (text, numbers, pictures, check boxes), 1350 x 600, rows 70 px\n", rows);
    std::printf("  data set memory:                  %8.1f MiB (%.0f bytes a row)\n", (filled - before) / 1024.0,
                (filled - before) * 1024.0 / rows);
    std::printf("  attach the filled data set:       %8.2f ms\n", attachMs);
    std::printf("  first paint with footer sums:     %8.2f ms (sum %s)\n", firstPaintMs, qPrintable(sum));
    std::printf("  repaint after a scroll jump:      %8.2f ms median, %.2f ms p99, %.2f ms max\n",
                frames[frames.size() / 2], frames[frames.size() * 99 / 100], frames.back());
    std::printf("  filter a column, sum and paint:   %8.2f ms (%d rows, sum %s)\n", filterMs, filteredRows,
                qPrintable(filteredSum));
    std::printf("  clear the filter and paint:       %8.2f ms\n", unfilterMs);
    std::printf("  best fit of every column:         %8.2f ms\n", bestFitMs);
    return 0;
}
