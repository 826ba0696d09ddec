#include "platform/ui/message_dialog.h"
#include "platform/ui/style.h"

#include <QApplication>
#include <QStyle>
#include <QTest>

using namespace velmora;

class TestStyle : public QObject {
    Q_OBJECT

    QList<MessageRequest> m_messages;

private slots:
    void init()
    {
        m_messages.clear();
        setMessageHook([this](const MessageRequest& r) {
            m_messages.append(r);
            return int(mrOk);
        });
        qApp->setStyleSheet(QString());
    }

    void cleanup() { setMessageHook({}); }

    void brivoIsApplied()
    {
        QVERIFY(applyStyle(QStringLiteral("Brivo")));

        QVERIFY(m_messages.isEmpty());
        QVERIFY(qApp->styleSheet().contains(QLatin1String("QHeaderView::section")));
    }

    void missingStyleIsReportedAndTheLookKept()
    {
        const QString before = QStringLiteral("QLabel { color: #123456; }");
        qApp->setStyleSheet(before);
        QStyle* styleBefore = QApplication::style();

        QVERIFY(!applyStyle(QStringLiteral("Yok")));

        QCOMPARE(qApp->styleSheet(), before);
        QCOMPARE(QApplication::style(), styleBefore);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].kind, MessageKind::Error);
        QCOMPARE(m_messages[0].buttons, MessageButtons(mbOK));
        QVERIFY(m_messages[0].text.contains(QLatin1String("Yok")));
    }
};

QTEST_MAIN(TestStyle)
#include "test_style.moc"
