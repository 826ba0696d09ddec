#include "platform/data_set.h"
#include "platform/number_format.h"
#include "platform/tasks.h"
#include "platform/ui/data_set_model.h"
#include "platform/ui/grid_export.h"
#include "platform/ui/grid_view.h"
#include "platform/xls_read_back.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using namespace velmora;

namespace {

const QLocale kTurkish(QLocale::Turkish, QLocale::Turkey);

// Five stock lines; the fields come in another order than the grid's columns.
Table stockTable()
{
    Table t;
    t.columns = {{"STOKNO", FieldType::Int32}, {"ADI", FieldType::Text},  {"FIYAT", FieldType::Double},
                 {"DURUM", FieldType::Int32},  {"SEC", FieldType::Int32}, {"YUZDE", FieldType::Int32},
                 {"NOTU", FieldType::Text},    {"TARIH", FieldType::Date}};
    t.rows = {
        {1, QStringLiteral("Fren balatası"), 1234.5, 1, 1, 40, QStringLiteral("<b>acil</b>"), 45351.0},
        {2, QStringLiteral("Debriyaj seti"), 0.5, 2, 0, 150, QVariant(), 45351.5},
        {10, QStringLiteral("fren diski"), 99.99, 7, 0, -5, QStringLiteral("<i>yok</i>"), QVariant()},
        {3, QStringLiteral("İSTANBUL filtresi"), QVariant(), QVariant(), 1, QVariant(), QVariant(), QVariant()},
        {4, QStringLiteral("Yağ filtresi"), 1000000.0, 2, 0, 100, QVariant(), QVariant()},
    };
    return t;
}

QVector<QPixmap> statePictures()
{
    QVector<QPixmap> pictures;
    for (const QColor& colour : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
        QPixmap picture(16, 16);
        picture.fill(colour);
        pictures.append(picture);
    }
    return pictures;
}

// Visible weights sum to 12; the two hidden columns would add 1.
QVector<GridColumn> stockColumns(const QVector<QPixmap>& pictures, CellPainter painter = {})
{
    return {
        {.objectName = "colDurum",
         .fieldName = "DURUM",
         .caption = "Durum",
         .weight = 1,
         .kind = CellKind::Image,
         .images = pictures},
        {.objectName = "colStokNo", .fieldName = "STOKNO", .caption = "Stok No", .weight = 1, .kind = CellKind::Number},
        {.objectName = "colAdi", .fieldName = "adi", .caption = "Açıklama", .weight = 3},
        {.objectName = "colFiyat", .fieldName = "FIYAT", .caption = "Fiyat", .weight = 2, .kind = CellKind::Number},
        {.objectName = "colSec",
         .fieldName = "SEC",
         .caption = "Seç",
         .weight = 1,
         .offered = false,
         .kind = CellKind::CheckBox},
        {.objectName = "colYuzde",
         .fieldName = "YUZDE",
         .caption = "Yüzde",
         .weight = 1,
         .visible = false,
         .kind = CellKind::Progress},
        {.objectName = "colNot", .fieldName = "NOTU", .caption = "Not", .visible = false, .kind = CellKind::RichText},
        {.objectName = "colTarih", .fieldName = "TARIH", .caption = "Tarih", .visible = false},
        {.objectName = "colYok", .fieldName = "YOK", .caption = "Yok", .weight = 1},
        {.objectName = "colBilgi",
         .caption = "Fiyat Bilgisi",
         .weight = 2,
         .kind = CellKind::Drawn,
         .painter = painter},
        {.objectName = "colSil", .weight = 1, .kind = CellKind::Button, .buttonText = "Sil"},
    };
}

QStringList actionTexts(const QMenu& menu)
{
    QStringList texts;
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator())
            texts.append(action->text());
    }
    return texts;
}

QAction* actionNamed(const QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class TestGrid : public QObject {
    Q_OBJECT

    QVector<QPixmap> m_pictures = statePictures();
    std::unique_ptr<DataSet> m_stock;
    std::unique_ptr<GridView> m_grid;

    QModelIndex viewIndex(int shownRow, const QString& column) const
    {
        return m_grid->tableView()->model()->index(shownRow, m_grid->columnIndex(column));
    }

    void makeGrid(CellPainter painter = {})
    {
        m_grid = std::make_unique<GridView>();
        m_grid->setColumns(stockColumns(m_pictures, std::move(painter)));
        m_grid->setLocale(kTurkish);
        m_grid->setDataSet(m_stock.get());
        m_grid->resize(1000, 400);
    }

private slots:
    void init()
    {
        m_stock = std::make_unique<DataSet>();
        m_stock->loadFromTable(stockTable());
        m_stock->setDisplayFormat(QStringLiteral("FIYAT"), QString::fromLatin1(kAmountFormat));
        makeGrid();
    }

    void cleanup()
    {
        m_grid.reset();
        m_stock.reset();
    }

    // --- model ---

    void columnsBindByFieldName()
    {
        DataSetModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setColumns(stockColumns(m_pictures));
        model.setLocale(kTurkish);
        model.setDataSet(m_stock.get());
        const int adi = 2, fiyat = 3, yok = 8;

        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.index(0, adi).data().toString(), QStringLiteral("Fren balatası"));
        QCOMPARE(model.index(1, fiyat).data().toString(), QStringLiteral("0,50"));
        for (int row = 0; row < model.rowCount(); ++row) {
            QVERIFY(!model.index(row, yok).data().isValid());
            QVERIFY(!model.index(row, yok).data(DataSetModel::ValueRole).isValid());
        }
        QCOMPARE(model.headerData(adi, Qt::Horizontal).toString(), QStringLiteral("Açıklama"));

        // A posted edit reports its row; the new value shows.
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        m_stock->moveTo(2);
        m_stock->edit();
        m_stock->setValue(QStringLiteral("ADI"), QStringLiteral("Fren diski ön"));
        m_stock->post();
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex().row(), 2);
        QCOMPARE(model.index(2, adi).data().toString(), QStringLiteral("Fren diski ön"));

        // A new structure rebinds: the missing field now exists, the bound one is gone.
        Table other;
        other.columns = {{"YOK", FieldType::Text}, {"STOKNO", FieldType::Int32}};
        other.rows = {{QStringLiteral("var"), 7}};
        m_stock->assignData(std::move(other));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.index(0, yok).data().toString(), QStringLiteral("var"));
        QVERIFY(!model.index(0, adi).data().isValid());
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("7"));

        // Suspended notifications keep the model's rows until the data set reports them.
        m_stock->disableControls();
        m_stock->emptyDataSet();
        QCOMPARE(model.rowCount(), 1);
        m_stock->enableControls();
        QCOMPARE(model.rowCount(), 0);
    }

    void numbersUseTheFieldFormatAndLocale_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("thousands") << QVariant(1234.5) << "1.234,50";
        QTest::newRow("millions") << QVariant(1000000.0) << "1.000.000,00";
        QTest::newRow("fraction") << QVariant(0.5) << "0,50";
        QTest::newRow("negative") << QVariant(-1234567.891) << "-1.234.567,89";
        QTest::newRow("null stays empty") << QVariant() << "";
    }

    void numbersUseTheFieldFormatAndLocale()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        m_stock->moveTo(0);
        m_stock->edit();
        m_stock->setValue(QStringLiteral("FIYAT"), value);
        m_stock->post();
        const QModelIndex cell = m_grid->model()->index(0, m_grid->columnIndex(QStringLiteral("colFiyat")));
        QCOMPARE(cell.data().toString(), text);
        QCOMPARE(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
                 Qt::Alignment(Qt::AlignRight));
    }

    void cellKindsGiveTheirRoles()
    {
        DataSetModel* model = m_grid->model();
        auto cell = [&](int row, const char* column) {
            return model->index(row, m_grid->columnIndex(QString::fromLatin1(column)));
        };
        QCOMPARE(cell(0, "colSec").data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(cell(1, "colSec").data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(!cell(0, "colSec").data().isValid());

        // Pictures by value; values outside the list and empty values show none.
        QCOMPARE(cell(0, "colDurum").data(Qt::DecorationRole).value<QPixmap>().cacheKey(), m_pictures[1].cacheKey());
        QCOMPARE(cell(1, "colDurum").data(Qt::DecorationRole).value<QPixmap>().cacheKey(), m_pictures[2].cacheKey());
        QVERIFY(!cell(2, "colDurum").data(Qt::DecorationRole).isValid());
        QVERIFY(!cell(3, "colDurum").data(Qt::DecorationRole).isValid());

        // Bars stay within 0 .. maximum.
        QCOMPARE(cell(0, "colYuzde").data(DataSetModel::ProgressRole).toInt(), 40);
        QCOMPARE(cell(1, "colYuzde").data(DataSetModel::ProgressRole).toInt(), 100);
        QCOMPARE(cell(2, "colYuzde").data(DataSetModel::ProgressRole).toInt(), 0);
        QVERIFY(!cell(3, "colYuzde").data(DataSetModel::ProgressRole).isValid());

        QCOMPARE(cell(0, "colSil").data().toString(), QStringLiteral("Sil"));
        QCOMPARE(cell(0, "colNot").data().toString(), QStringLiteral("<b>acil</b>"));
        QCOMPARE(cell(0, "colNot").data(DataSetModel::KeyRole).toString(), QStringLiteral("acil"));

        // Read-only check boxes refuse; an editable one writes 1 or 0 to the data set.
        QVERIFY(!model->setData(cell(1, "colSec"), Qt::Checked, Qt::CheckStateRole));
        QVector<GridColumn> columns = stockColumns(m_pictures);
        columns[4].readOnly = false;
        m_grid->setColumns(columns);
        QVERIFY(model->setData(cell(1, "colSec"), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(m_stock->value(1, m_stock->fieldIndex(QStringLiteral("SEC"))).toInt(), 1);
        QCOMPARE(cell(1, "colSec").data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    }

    // --- footer ---

    void footerCountsAndSumsTheRowsShown()
    {
        m_grid->setSummary(QStringLiteral("colAdi"), SummaryKind::Count);
        m_grid->setSummary(QStringLiteral("colFiyat"), SummaryKind::Sum);
        m_grid->setSummary(QStringLiteral("colStokNo"), SummaryKind::Sum);
        QCOMPARE(m_grid->summaryText(QStringLiteral("colAdi")), QStringLiteral("5"));
        QCOMPARE(m_grid->summaryText(QStringLiteral("colFiyat")), QStringLiteral("1.001.334,99"));
        QCOMPARE(m_grid->summaryText(QStringLiteral("colStokNo")), QStringLiteral("20"));
        QCOMPARE(m_grid->summaryText(QStringLiteral("colDurum")), QString());

        m_stock->moveTo(2);
        m_stock->edit();
        m_stock->setValue(QStringLiteral("FIYAT"), 100.0);
        m_stock->post();
        QCOMPARE(m_grid->summaryText(QStringLiteral("colFiyat")), QStringLiteral("1.001.335,00"));

        m_grid->setFilter(QStringLiteral("colDurum"), QStringLiteral("2"));
        QCOMPARE(m_grid->summaryText(QStringLiteral("colAdi")), QStringLiteral("2"));
        QCOMPARE(m_grid->summaryText(QStringLiteral("colFiyat")), QStringLiteral("1.000.000,50"));

        m_stock->emptyDataSet();
        QCOMPARE(m_grid->summaryText(QStringLiteral("colAdi")), QStringLiteral("0"));
        QCOMPARE(m_grid->summaryText(QStringLiteral("colFiyat")), QStringLiteral("0,00"));
        m_grid->grab(); // the footer paints its texts
    }

    // --- widths ---

    void weightRule_data()
    {
        QTest::addColumn<QVector<int>>("weights");
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<QVector<int>>("widths");
        QTest::newRow("weights share the width less 30")
            << QVector<int>{1, 2, 3} << 1182 << QVector<int>{192, 384, 576};
        QTest::newRow("unit truncated") << QVector<int>{1, 1, 1} << 130 << QVector<int>{33, 33, 33};
        QTest::newRow("all weights 0: equal shares") << QVector<int>{0, 0, 0} << 330 << QVector<int>{100, 100, 100};
        QTest::newRow("weight 0 among others keeps a minimum") << QVector<int>{2, 0} << 230 << QVector<int>{200, 20};
        QTest::newRow("narrower than the margin") << QVector<int>{1, 2} << 20 << QVector<int>{20, 20};
        QTest::newRow("no columns") << QVector<int>{} << 500 << QVector<int>{};
    }

    void weightRule()
    {
        QFETCH(QVector<int>, weights);
        QFETCH(int, gridWidth);
        QFETCH(QVector<int>, widths);
        QCOMPARE(columnWidthsByWeight(weights, gridWidth), widths);
    }

    void widthRuleNeedsMoreThan1152()
    {
        const QStringList visible{"colDurum", "colStokNo", "colAdi",   "colFiyat",
                                  "colSec",   "colYok",    "colBilgi", "colSil"};
        QCOMPARE(m_grid->visibleColumns(), visible);

        m_grid->applyWidthRule(1153, 1230); // visible weights sum to 12: 100 px a weight
        const QVector<int> weighted{100, 100, 300, 200, 100, 100, 200, 100};
        for (int i = 0; i < visible.size(); ++i)
            QCOMPARE(m_grid->columnWidth(visible[i]), weighted[i]);
        m_grid->setColumnVisible(QStringLiteral("colYuzde"), true); // hidden columns kept their width
        QCOMPARE(m_grid->columnWidth(QStringLiteral("colYuzde")), 100);
        m_grid->setColumnVisible(QStringLiteral("colYuzde"), false);

        m_grid->setColumnWidth(QStringLiteral("colAdi"), 30);
        m_grid->applyWidthRule(1152, 1230); // best fit
        const int longest = m_grid->tableView()->fontMetrics().horizontalAdvance(QStringLiteral("İSTANBUL filtresi"));
        QVERIFY(m_grid->columnWidth(QStringLiteral("colAdi")) >= longest);
        QVERIFY(m_grid->columnWidth(QStringLiteral("colAdi")) != 300);

        // Only weight-0 columns visible: they share the width.
        QVector<GridColumn> unweighted{{.objectName = "a", .fieldName = "ADI"},
                                       {.objectName = "b", .fieldName = "FIYAT"}};
        m_grid->setColumns(unweighted);
        m_grid->applyWeightWidths(430);
        QCOMPARE(m_grid->columnWidth(QStringLiteral("a")), 200);
        QCOMPARE(m_grid->columnWidth(QStringLiteral("b")), 200);
    }

    void rowAndHeaderHeightsAreFixed()
    {
        m_grid->setRowHeight(70);
        m_grid->setHeaderHeight(40);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        QCOMPARE(m_grid->tableView()->rowHeight(3), 70);
        QCOMPARE(m_grid->tableView()->horizontalHeader()->height(), 40);
        QCOMPARE(m_grid->tableView()->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    }

    // --- type-ahead ---

    void typingJumpsToTheFirstMatchInTheFocusedColumn()
    {
        m_grid->setIncrementalSearchInterval(60000);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        QTableView* table = m_grid->tableView();
        table->setFocus();
        table->setCurrentIndex(viewIndex(4, QStringLiteral("colAdi")));

        QTest::keyClicks(table, QStringLiteral("F"));
        QCOMPARE(m_grid->focusedRow(), 0);
        QCOMPARE(m_stock->recNo(), 0);
        QTest::keyClicks(table, QStringLiteral("ren d"));
        QCOMPARE(m_grid->focusedRow(), 2);
        QTest::keyClicks(table, QStringLiteral("x")); // no row starts so: the focus stays
        QCOMPARE(m_grid->focusedRow(), 2);
        QCOMPARE(m_grid->focusedColumn(), QStringLiteral("colAdi"));

        // After a pause the typed text starts anew; dotted and dotless i are one letter.
        m_grid->setIncrementalSearchInterval(50);
        QTest::qWait(120);
        QTest::keyClicks(table, QStringLiteral("is"));
        QCOMPARE(m_grid->focusedRow(), 3);

        // Rows hidden by a filter are skipped; the search uses the focused column.
        m_grid->setFilter(QStringLiteral("colDurum"), QStringLiteral("2"));
        table->setCurrentIndex(viewIndex(0, QStringLiteral("colStokNo")));
        QTest::qWait(120);
        QTest::keyClicks(table, QStringLiteral("4"));
        QCOMPARE(m_grid->focusedRow(), 4);
    }

    // --- filters and column chooser ---

    void filterMenuListsValuesAndAll()
    {
        std::unique_ptr<QMenu> numbers(m_grid->createFilterMenu(QStringLiteral("colStokNo")));
        QCOMPARE(actionTexts(*numbers), (QStringList{"(Tümü)", "1", "2", "3", "4", "10"}));

        std::unique_ptr<QMenu> states(m_grid->createFilterMenu(QStringLiteral("colDurum")));
        QCOMPARE(actionTexts(*states), (QStringList{"(Tümü)", "(Boş)", "1", "2", "7"}));
        actionNamed(*states, QStringLiteral("2"))->trigger();
        QVERIFY(m_grid->isFiltered(QStringLiteral("colDurum")));
        QCOMPARE(m_grid->rowCount(), 2);
        QCOMPARE(m_grid->dataRow(0), 1);
        QCOMPARE(m_grid->dataRow(1), 4);

        // Filters combine; the empty value is a value of its own.
        m_grid->setFilter(QStringLiteral("colAdi"), QStringLiteral("Yağ filtresi"));
        QCOMPARE(m_grid->rowCount(), 1);
        m_grid->clearFilter(QStringLiteral("colAdi"));

        std::unique_ptr<QMenu> again(m_grid->createFilterMenu(QStringLiteral("colDurum")));
        QVERIFY(actionNamed(*again, QStringLiteral("2"))->isChecked());
        actionNamed(*again, QStringLiteral("(Boş)"))->trigger();
        QCOMPARE(m_grid->rowCount(), 1);
        QCOMPARE(m_grid->dataRow(0), 3);
        actionNamed(*again, QStringLiteral("(Tümü)"))->trigger();
        QVERIFY(!m_grid->isFiltered(QStringLiteral("colDurum")));
        QCOMPARE(m_grid->rowCount(), 5);
    }

    void headerFilterButtonOpensTheMenu()
    {
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        QHeaderView* header = m_grid->tableView()->horizontalHeader();
        const int column = m_grid->columnIndex(QStringLiteral("colDurum"));
        const QPoint button(header->sectionViewportPosition(column) + header->sectionSize(column) - 6,
                            header->height() / 2);
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            shown = actionTexts(*menu);
            QAction* choice = actionNamed(*menu, QStringLiteral("1"));
            menu->close();
            choice->trigger();
        });
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, button);
        QCOMPARE(shown, (QStringList{"(Tümü)", "(Boş)", "1", "2", "7"}));
        QCOMPARE(m_grid->rowCount(), 1);

        // A click on the caption is no filter click, nor is one on a column bound to no field.
        bool opened = false;
        auto closeAnyMenu = [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened = true;
                popup->close();
            }
        };
        QTimer::singleShot(0, this, closeAnyMenu);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 4, 5));
        const int drawn = m_grid->columnIndex(QStringLiteral("colBilgi"));
        QTimer::singleShot(0, this, closeAnyMenu);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(drawn) + header->sectionSize(drawn) - 6, 5));
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QCOMPARE(m_grid->rowCount(), 1);
    }

    void columnChooserOffersOnlyOfferedColumns()
    {
        std::unique_ptr<QMenu> menu(m_grid->createColumnChooserMenu());
        QCOMPARE(actionTexts(*menu), (QStringList{"Durum", "Stok No", "Açıklama", "Fiyat", "Yüzde", "Not", "Tarih",
                                                  "Yok", "Fiyat Bilgisi", "colSil"}));
        QVERIFY(actionNamed(*menu, QStringLiteral("Fiyat"))->isChecked());
        QVERIFY(!actionNamed(*menu, QStringLiteral("Yüzde"))->isChecked());
        actionNamed(*menu, QStringLiteral("Yüzde"))->trigger();
        actionNamed(*menu, QStringLiteral("Fiyat"))->trigger();
        QVERIFY(m_grid->isColumnVisible(QStringLiteral("colYuzde")));
        QVERIFY(!m_grid->isColumnVisible(QStringLiteral("colFiyat")));
    }

    // --- focus, cursor and attachment ---

    void focusedRowAndCursorFollowEachOther()
    {
        m_stock->moveTo(3);
        QCOMPARE(m_grid->focusedRow(), 3);
        m_grid->setFocusedRow(1);
        QCOMPARE(m_stock->recNo(), 1);

        m_grid->setFilter(QStringLiteral("colDurum"), QStringLiteral("2"));
        m_stock->moveTo(4);
        QCOMPARE(m_grid->focusedRow(), 4);
        QCOMPARE(m_grid->tableView()->currentIndex().row(), 1);
        m_grid->tableView()->setCurrentIndex(viewIndex(0, QStringLiteral("colAdi")));
        QCOMPARE(m_stock->recNo(), 1);
        QVERIFY(m_grid->tableView()->selectionModel()->isRowSelected(0, {}));
    }

    void detachedWhileABackgroundLoadRefillsTheDataSet()
    {
        m_grid->setSummary(QStringLiteral("colAdi"), SummaryKind::Count);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));

        m_grid->setDataSet(nullptr);
        QVERIFY(!m_grid->isAttached());
        QVERIFY(!m_grid->tableView()->isEnabled());
        QCOMPARE(m_grid->rowCount(), 0);
        QCOMPARE(m_grid->summaryText(QStringLiteral("colAdi")), QString());

        bool done = false;
        DataSet* stock = m_stock.get();
        runTask(
            m_grid.get(),
            [stock] {
                Table bigger = stockTable();
                for (int i = 0; i < 20000; ++i)
                    bigger.rows.append(
                        {100 + i, QStringLiteral("Parça %1").arg(i), i * 0.5, i % 7, 0, 0, QVariant(), QVariant()});
                stock->disableControls();
                stock->assignData(std::move(bigger));
                stock->enableControls();
            },
            [&] {
                m_grid->setDataSet(stock);
                done = true;
            });
        while (!done) {
            m_grid->repaint(); // the detached grid keeps painting while the load runs
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QVERIFY(m_grid->tableView()->isEnabled());
        QCOMPARE(m_grid->rowCount(), 20005);
        QCOMPARE(m_grid->summaryText(QStringLiteral("colAdi")), QStringLiteral("20005"));
        QCOMPARE(m_grid->focusedRow(), m_stock->recNo());
        m_stock->moveTo(19000);
        QCOMPARE(m_grid->focusedRow(), 19000);

        // A data set that goes away leaves an empty grid, not a dangling one.
        m_stock.reset();
        QCOMPARE(m_grid->rowCount(), 0);
        m_grid->repaint();
    }

    // --- signals and drawn cells ---

    void clicksReportDataSetRows()
    {
        m_grid->setFilter(QStringLiteral("colDurum"), QStringLiteral("2")); // shows data rows 1 and 4
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        QTableView* table = m_grid->tableView();
        QSignalSpy doubleClicks(m_grid.get(), &GridView::doubleClicked);
        QSignalSpy buttons(m_grid.get(), &GridView::buttonClicked);
        QSignalSpy menus(m_grid.get(), &GridView::contextMenuRequested);

        const QPoint cell = table->visualRect(viewIndex(1, QStringLiteral("colAdi"))).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell); // a double click's first half
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(doubleClicks.size(), 1);
        QCOMPARE(doubleClicks[0][0].toInt(), 4);

        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->visualRect(viewIndex(0, QStringLiteral("colSil"))).center());
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(buttons[0][0].toString(), QStringLiteral("colSil"));
        QCOMPARE(buttons[0][1].toInt(), 1);

        const QPoint at = table->visualRect(viewIndex(1, QStringLiteral("colFiyat"))).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, table->viewport()->mapToGlobal(at));
        QApplication::sendEvent(table->viewport(), &event);
        QCOMPARE(menus.size(), 1);
        QCOMPARE(menus[0][0].toInt(), 4);
        QCOMPARE(m_stock->recNo(), 4);
    }

    void drawnCellsGetTheirDataSetRow()
    {
        QList<int> painted;
        makeGrid([&](QPainter& painter, const QStyleOptionViewItem& option, const DataSet& dataSet, int row) {
            painted.append(row);
            painter.drawText(option.rect, dataSet.value(row, 0).toString());
        });
        m_grid->setFilter(QStringLiteral("colDurum"), QStringLiteral("2"));
        m_grid->grab();
        std::sort(painted.begin(), painted.end());
        painted.erase(std::unique(painted.begin(), painted.end()), painted.end());
        QCOMPARE(painted, (QList<int>{1, 4}));
    }

    // --- export ---

    // Closing a shown grid lets its header measure the sections once more; the columns must
    // still be there (a sanitizer build reports the read otherwise).
    void aShownGridIsDestroyedWhileItsColumnsExist()
    {
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
        m_grid->bestFitAll();
        m_grid->setFilter(QStringLiteral("colDurum"), QStringLiteral("2"));
        m_grid->clearFilters();
        m_grid.reset();
    }

    void exportWritesVisibleColumnsAndShownRows()
    {
        QTemporaryDir dir;
        m_grid->setColumnVisible(QStringLiteral("colTarih"), true);
        m_grid->setColumnVisible(QStringLiteral("colSec"), false);
        m_grid->setFilter(QStringLiteral("colDurum"), QStringLiteral("2"));

        const QString written = exportGridToXls(*m_grid, dir.filePath(QStringLiteral("sepet")));
        QCOMPARE(written, dir.filePath(QStringLiteral("sepet.xls")));
        QCOMPARE(exportGridToXls(*m_grid, dir.filePath(QStringLiteral("b.XLS"))),
                 dir.filePath(QStringLiteral("b.XLS")));
        QCOMPARE(exportGridToXls(*m_grid, dir.filePath(QStringLiteral("c.xlsx"))),
                 dir.filePath(QStringLiteral("c.xls")));

        const QJsonObject sheet = readXlsBack(written);
        QVERIFY2(!sheet.contains(QStringLiteral("error")), qPrintable(sheet[QStringLiteral("error")].toString()));
        const QJsonArray rows = sheet[QStringLiteral("rows")].toArray();
        QCOMPARE(rows.size(), 3);
        auto value = [&](int row, int column) -> QJsonValue {
            return rows.at(row).toArray().at(column).toArray().at(1);
        };
        auto type = [&](int row, int column) -> int {
            return rows.at(row).toArray().at(column).toArray().at(0).toInt();
        };

        const QStringList captions{"Durum", "Stok No", "Açıklama", "Fiyat", "Tarih", "Yok", "Fiyat Bilgisi", ""};
        for (int c = 0; c < captions.size(); ++c)
            QCOMPARE(value(0, c).toString(), captions[c]);
        // Data rows 1 and 4: numbers as numbers, Turkish text intact, unbound columns empty.
        QCOMPARE(value(1, 0).toDouble(), 2.0);
        QCOMPARE(value(1, 1).toDouble(), 2.0);
        QCOMPARE(value(1, 2).toString(), QStringLiteral("Debriyaj seti"));
        QCOMPARE(value(1, 3).toDouble(), 0.5);
        QCOMPARE(type(1, 4), 3); // a date with its time
        QCOMPARE(value(1, 4).toArray(), (QJsonArray{2024, 2, 29, 12, 0, 0}));
        QCOMPARE(type(1, 5), 0);
        QCOMPARE(type(1, 6), 0);
        QCOMPARE(value(2, 1).toDouble(), 4.0);
        QCOMPARE(value(2, 2).toString(), QStringLiteral("Yağ filtresi"));
        QCOMPARE(value(2, 3).toDouble(), 1000000.0);
        QCOMPARE(type(2, 4), 0);
    }
};

QTEST_MAIN(TestGrid)
#include "test_grid.moc"
