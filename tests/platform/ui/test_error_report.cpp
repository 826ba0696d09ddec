#include "platform/system_hooks.h"
#include "platform/tasks.h"
#include "platform/ui/error_report.h"
#include "platform/ui/message_dialog.h"

#include <QApplication>
#include <QTest>
#include <QThread>

#include <stdexcept>
#include <thread>

using namespace velmora;

class TestErrorReport : public QObject {
    Q_OBJECT

    QList<MessageRequest> m_messages;
    QList<QThread*> m_messageThreads;
    QStringList m_steps;

private slots:
    void init()
    {
        m_messages.clear();
        m_messageThreads.clear();
        m_steps.clear();
        installErrorReport();
        setMessageHook([this](const MessageRequest& r) {
            m_messages.append(r);
            m_messageThreads.append(QThread::currentThread());
            m_steps << QStringLiteral("report");
            return int(mrOk);
        });
    }

    void cleanup()
    {
        waitForTaskWork();
        QCoreApplication::processEvents();
        setMessageHook({});
        setErrorReporter({});
        systemHooks().playSound = defaultSystemHooks().playSound;
    }

    void guardedErrorIsShownAsErrorMessage()
    {
        guarded([] { throw std::runtime_error("x"); });

        QCOMPARE(m_messages.size(), 1);
        const MessageRequest& r = m_messages[0];
        QCOMPARE(r.text, QStringLiteral("x"));
        QCOMPARE(r.source, MessageSource::ErrorReport);
        QCOMPARE(r.kind, MessageKind::Error);
        QCOMPARE(r.buttons, MessageButtons(mbOK));
        QCOMPARE(r.defaultButton, mbOK);
    }

    void taskErrorIsReportedOnceAfterItsCompletion()
    {
        QObject context;
        bool completed = false;
        runTask(
            &context, [] { throw std::runtime_error("Sunucuya ulaşılamadı"); },
            [&] {
                completed = true;
                m_steps << QStringLiteral("completion");
            });
        QTRY_VERIFY(completed);
        QTRY_COMPARE(m_messages.size(), 1);
        QCoreApplication::processEvents();

        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].text, QStringLiteral("Sunucuya ulaşılamadı"));
        QCOMPARE(m_messages[0].source, MessageSource::ErrorReport);
        QCOMPARE(m_steps, (QStringList{"completion", "report"}));
        QCOMPARE(m_messageThreads[0], qApp->thread());
    }

    void reportFromAnotherThreadIsShownOnTheUiThread()
    {
        bool returned = false;
        std::thread worker([&] {
            reportError(QStringLiteral("y"));
            returned = true;
        });
        // The worker waits until the user-interface thread has shown the message.
        QTRY_COMPARE(m_messages.size(), 1);
        worker.join();

        QVERIFY(returned);
        QCOMPARE(m_messages[0].text, QStringLiteral("y"));
        QCOMPARE(m_messageThreads[0], qApp->thread());
    }
};

QTEST_MAIN(TestErrorReport)
#include "test_error_report.moc"
