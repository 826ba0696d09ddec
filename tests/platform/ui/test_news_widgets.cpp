#include "platform/ui/gif_view.h"
#include "platform/ui/marquee.h"

#include <QMovie>
#include <QTest>

using namespace velmora;

class TestNewsWidgets : public QObject {
    Q_OBJECT

private slots:
    void marqueeScrollsOnlyWhileActiveShownAndNotEmpty()
    {
        Marquee line;
        line.resize(300, 40);
        line.show();
        line.addItem(QStringLiteral("Yeni kampanya"));
        QVERIFY(!line.isScrolling());

        line.setActive(true);
        QVERIFY(line.isScrolling());
        QTRY_VERIFY(line.scrolled() > 0);

        line.setActive(false);
        QVERIFY(!line.isScrolling());
        const double stopped = line.scrolled();
        QTest::qWait(60);
        QCOMPARE(line.scrolled(), stopped);

        // Switched on with no items: nothing to move; an item added later starts it.
        line.clearItems();
        line.setActive(true);
        QVERIFY(!line.isScrolling());
        QCOMPARE(line.scrolled(), 0.0);
        line.addItem(QStringLiteral("Duyuru"));
        QVERIFY(line.isScrolling());

        line.hide();
        QVERIFY(!line.isScrolling());
        line.show();
        QVERIFY(line.isScrolling());
    }

    void marqueeLaysItemsOutInARowAndWrapsAround()
    {
        Marquee line;
        line.resize(200, 40);
        line.setItemSpacing(5);
        line.addItem(QStringLiteral("<b>Haber</b>"), Marquee::ItemStyle::Text);
        const int asText = line.contentWidth();
        line.setItemStyle(0, Marquee::ItemStyle::Html);
        const int asHtml = line.contentWidth();
        QVERIFY2(asHtml > 0 && asHtml < asText, "markup is read, not shown");

        line.clearItems();
        line.addItem(QStringLiteral("Bir"));
        const int first = line.contentWidth();
        line.clearItems();
        line.addItem(QStringLiteral("İki"));
        const int second = line.contentWidth();
        line.clearItems();
        line.addItem(QStringLiteral("Bir"));
        line.addItem(QStringLiteral("İki"));
        QVERIFY(qAbs(line.contentWidth() - (first + 5 + second)) <= 1);

        // Far faster than a cycle per frame: the position stays inside one cycle.
        line.setSpeed(1000000);
        line.show();
        line.setActive(true);
        QTest::qWait(100);
        QVERIFY(line.scrolled() >= 0);
        QVERIFY(line.scrolled() <= line.width() + line.contentWidth());
    }

    void gifViewShowsGifsAndKeepsThePictureOnBadBytes()
    {
        // A 1 x 1 GIF89a.
        const QByteArray gif =
            QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002"
                                "024401003b");
        GifView view;
        QVERIFY(!view.hasPicture());
        QVERIFY(view.loadGif(gif));
        QVERIFY(view.hasPicture());
        QMovie* shown = view.movie();
        QCOMPARE(shown->currentPixmap().size(), QSize(1, 1));

        for (const QByteArray& bad : {QByteArray(), QByteArrayLiteral("not a picture"), gif.left(6)}) {
            QVERIFY(!view.loadGif(bad));
            QCOMPARE(view.movie(), shown);
        }

        view.clearPicture();
        QVERIFY(!view.hasPicture());
    }
};

QTEST_MAIN(TestNewsWidgets)
#include "test_news_widgets.moc"
