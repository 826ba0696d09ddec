#include "platform/system_hooks.h"
#include "platform/ui/message_dialog.h"
#include "platform/ui/style.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::MessageKind)
Q_DECLARE_METATYPE(velmora::MessageSource)
Q_DECLARE_METATYPE(std::optional<velmora::SystemSound>)

namespace {

constexpr int kNotShown = -100;
constexpr int kLeftOpen = -101;

// Shows the request for real; `inspect` runs once the dialog is the active modal window and
// should answer it. A dialog the inspector leaves open is closed with kLeftOpen, so a failed
// check never hangs the test.
int showAndInspect(const MessageRequest& request, const std::function<void(QDialog&)>& inspect)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QLatin1String("MesajDialog"))
            return;
        poll.stop();
        seen = true;
        inspect(*dialog);
        if (dialog->isVisible())
            dialog->done(kLeftOpen);
    });
    poll.start();
    const int result = showMessage(request);
    return seen ? result : kNotShown;
}

MessageRequest request(MessageButtons buttons, MessageButton defaultButton,
                       MessageKind kind = MessageKind::Confirmation)
{
    return {QStringLiteral("Devam edilsin mi?"), kind, buttons, defaultButton, MessageSource::Message};
}

// The buttons of the dialog, left to right.
QList<QPushButton*> buttonRow(QDialog& dialog)
{
    QList<QPushButton*> row = dialog.findChildren<QPushButton*>();
    std::sort(row.begin(), row.end(), [](const QPushButton* a, const QPushButton* b) { return a->x() < b->x(); });
    return row;
}

} // namespace

class TestMessageDialog : public QObject {
    Q_OBJECT

    QList<SystemSound> m_sounds;

private slots:
    void init()
    {
        m_sounds.clear();
        systemHooks().playSound = [this](SystemSound s) { m_sounds.append(s); };
        setMessageFontSize(15);
    }

    void cleanup()
    {
        systemHooks().playSound = defaultSystemHooks().playSound;
        setMessageHook({});
        qApp->setStyleSheet(QString());
    }

    void kindGivesTitleIconAndSound_data()
    {
        QTest::addColumn<MessageKind>("kind");
        QTest::addColumn<MessageSource>("source");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("hasIcon");
        QTest::addColumn<std::optional<SystemSound>>("sound");

        const auto m = MessageSource::Message;
        QTest::newRow("warning") << MessageKind::Warning << m << "Uyarı" << true
                                 << std::optional(SystemSound::Exclamation);
        QTest::newRow("error") << MessageKind::Error << m << "Hata" << true << std::optional(SystemSound::Hand);
        QTest::newRow("information") << MessageKind::Information << m << "Bilgi" << true
                                     << std::optional(SystemSound::Asterisk);
        QTest::newRow("confirmation") << MessageKind::Confirmation << m << "Soru" << true
                                      << std::optional(SystemSound::Question);
        QTest::newRow("custom") << MessageKind::Custom << m << "Velmora Deneme" << false
                                << std::optional<SystemSound>();
        // The plain box leaves the sound to its caller.
        QTest::newRow("standard box") << MessageKind::Warning << MessageSource::StandardBox << "Uyarı" << true
                                      << std::optional<SystemSound>();
    }

    void kindGivesTitleIconAndSound()
    {
        QFETCH(MessageKind, kind);
        QFETCH(MessageSource, source);
        QFETCH(QString, title);
        QFETCH(bool, hasIcon);
        QFETCH(std::optional<SystemSound>, sound);
        QApplication::setApplicationDisplayName(QStringLiteral("Velmora Deneme"));

        MessageRequest r = request(mbOK, mbOK, kind);
        r.source = source;
        r.text = QStringLiteral("Satır bir\r\nSatır iki");
        QList<SystemSound> soundsWhenShown;
        const int result = showAndInspect(r, [&](QDialog& dialog) {
            soundsWhenShown = m_sounds;
            QCOMPARE(dialog.windowTitle(), title);
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("simge")) != nullptr, hasIcon);
            auto* text = dialog.findChild<QLabel*>(QStringLiteral("mesaj"));
            QVERIFY(text);
            QCOMPARE(text->text(), QStringLiteral("Satır bir\nSatır iki"));
            QVERIFY(text->wordWrap());
            const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
            // Centred up to the window frame, which is only known once shown.
            QVERIFY((dialog.frameGeometry().center() - centre).manhattanLength() <= 10);
            dialog.findChild<QPushButton*>(QStringLiteral("mrOk"))->click();
        });
        QCOMPARE(result, int(mrOk));
        QCOMPARE(soundsWhenShown, sound ? QList<SystemSound>{*sound} : QList<SystemSound>{});
        QCOMPARE(m_sounds, soundsWhenShown);
    }

    void buttonsCarryTheirCaptionsInAFixedOrder()
    {
        const MessageButtons all = mbYes | mbNo | mbOK | mbCancel | mbAbort | mbRetry | mbIgnore | mbAll | mbNoToAll |
                                   mbYesToAll | mbHelp | mbClose;
        QStringList shown;
        showAndInspect(request(all, mbOK), [&](QDialog& dialog) {
            for (const QPushButton* b : buttonRow(dialog))
                shown << b->objectName() + QLatin1Char('=') + b->text();
            dialog.done(mrNone);
        });
        const QStringList expected{
            "mrYes=Evet", "mrYesToAll=Tümüne Evet", "mrNo=Hayır",     "mrNoToAll=Tümüne Hayır",
            "mrOk=Tamam", "mrAbort=İptal",          "mrRetry=Tekrar", "mrIgnore=Atla",
            "mrAll=All",  "mrCancel=Vazgeç",        "mrClose=Close",  "mrHelp=Yardım",
        };
        QCOMPARE(shown, expected);
    }

    void clickedButtonGivesItsResult_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("retry") << "mrRetry" << int(mrRetry);
        QTest::newRow("yes to all") << "mrYesToAll" << int(mrYesToAll);
        QTest::newRow("help") << "mrHelp" << int(mrHelp);
        QTest::newRow("close") << "mrClose" << int(mrClose);
    }

    void clickedButtonGivesItsResult()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        const MessageButtons some = mbAbort | mbRetry | mbYesToAll | mbHelp | mbClose;
        QCOMPARE(showAndInspect(request(some, mbAbort),
                                [&](QDialog& dialog) {
                                    auto* b = dialog.findChild<QPushButton*>(button);
                                    QVERIFY(b);
                                    QTest::mouseClick(b, Qt::LeftButton);
                                }),
                 result);
    }

    void defaultButtonHasFocusAndAnswersEnter_data()
    {
        QTest::addColumn<unsigned>("buttons");
        QTest::addColumn<unsigned>("defaultButton");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("result");
        QTest::newRow("yes/no, default no") << unsigned(mbYes | mbNo) << unsigned(mbNo) << "Hayır" << int(mrNo);
        QTest::newRow("yes/no, default yes") << unsigned(mbYes | mbNo) << unsigned(mbYes) << "Evet" << int(mrYes);
        QTest::newRow("ok/cancel, default cancel")
            << unsigned(mbOK | mbCancel) << unsigned(mbCancel) << "Vazgeç" << int(mrCancel);
        // A default that the dialog does not hold falls back to the first button.
        QTest::newRow("default not held")
            << unsigned(mbRetry | mbIgnore) << unsigned(mbYes) << "Tekrar" << int(mrRetry);
    }

    void defaultButtonHasFocusAndAnswersEnter()
    {
        QFETCH(unsigned, buttons);
        QFETCH(unsigned, defaultButton);
        QFETCH(QString, focused);
        QFETCH(int, result);

        const int answer = showAndInspect(request(buttons, MessageButton(defaultButton)), [&](QDialog& dialog) {
            QTRY_VERIFY(QApplication::focusWidget() != nullptr);
            auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget());
            QVERIFY(button);
            QCOMPARE(button->text(), focused);
            QVERIFY(button->isDefault());
            // It also leads the tab order of the buttons.
            QList<QWidget*> chain;
            for (QWidget* w = dialog.nextInFocusChain(); w != &dialog; w = w->nextInFocusChain())
                if (qobject_cast<QPushButton*>(w))
                    chain.append(w);
            QCOMPARE(chain.value(0), static_cast<QWidget*>(button));
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        QCOMPARE(answer, result);
    }

    void escapeAndClosingTheWindow_data()
    {
        QTest::addColumn<unsigned>("buttons");
        QTest::addColumn<bool>("useEscape");
        QTest::addColumn<int>("result");
        QTest::newRow("escape, yes/no/cancel") << unsigned(mbYes | mbNo | mbCancel) << true << int(mrCancel);
        QTest::newRow("escape, yes/no") << unsigned(mbYes | mbNo) << true << int(mrNo);
        QTest::newRow("escape, single ok") << unsigned(mbOK) << true << int(mrOk);
        QTest::newRow("escape, single retry") << unsigned(mbRetry) << true << int(mrRetry);
        // Without a way back Escape does nothing; the helper then closes the dialog itself.
        QTest::newRow("escape, abort/retry/ignore") << unsigned(mbAbort | mbRetry | mbIgnore) << true << kLeftOpen;
        QTest::newRow("close box, yes/no") << unsigned(mbYes | mbNo) << false << int(mrCancel);
        QTest::newRow("close box, ok") << unsigned(mbOK) << false << int(mrCancel);
    }

    void escapeAndClosingTheWindow()
    {
        QFETCH(unsigned, buttons);
        QFETCH(bool, useEscape);
        QFETCH(int, result);
        const int answer = showAndInspect(request(buttons, mbYes), [&](QDialog& dialog) {
            if (useEscape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
        });
        QCOMPARE(answer, result);
    }

    void fontFollowsTheMessageSize_data()
    {
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("styled");
        QTest::newRow("15 pt") << 15 << false;
        QTest::newRow("11 pt") << 11 << false;
        QTest::newRow("15 pt under the application style") << 15 << true;
    }

    void fontFollowsTheMessageSize()
    {
        QFETCH(int, points);
        QFETCH(bool, styled);
        if (styled) {
            QVERIFY(applyStyle(QStringLiteral("Brivo")));
            // A sheet that sets fonts everywhere must not shrink the message.
            qApp->setStyleSheet(qApp->styleSheet() + QStringLiteral("\nQLabel, QPushButton { font-size: 7pt; }"));
        }
        setMessageFontSize(points);
        showAndInspect(request(mbYes | mbNo, mbNo), [&](QDialog& dialog) {
            QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("mesaj"))->font().pointSize(), points);
            for (const QPushButton* b : buttonRow(dialog))
                QCOMPARE(b->font().pointSize(), points);
            dialog.done(mrNone);
        });
    }

    void hookAnswersAndNothingIsShown()
    {
        QList<MessageRequest> asked;
        setMessageHook([&](const MessageRequest& r) {
            asked.append(r);
            return int(mrNo);
        });
        // Answers any dialog that does appear, so a broken hook fails instead of hanging.
        bool dialogSeen = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialogSeen = true;
                dialog->done(mrYes);
            }
        });
        closer.start(10);

        const MessageRequest r{QStringLiteral("Silinsin mi?"), MessageKind::Confirmation, mbYes | mbNo, mbNo,
                               MessageSource::Message};
        QCOMPARE(showMessage(r), int(mrNo));

        QVERIFY(!dialogSeen);
        QVERIFY(m_sounds.isEmpty());
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text, r.text);
        QCOMPARE(asked[0].kind, r.kind);
        QCOMPARE(asked[0].buttons, r.buttons);
        QCOMPARE(asked[0].defaultButton, r.defaultButton);

        // An empty hook brings the real dialog back.
        closer.stop();
        setMessageHook({});
        QCOMPARE(showAndInspect(r, [](QDialog& dialog) { dialog.done(mrYes); }), int(mrYes));
        QCOMPARE(asked.size(), 1);
    }

    void dialogIsDeletedAfterwards()
    {
        QPointer<QDialog> shown;
        showAndInspect(request(mbOK, mbOK), [&](QDialog& dialog) {
            shown = &dialog;
            dialog.done(mrOk);
        });
        QVERIFY(shown.isNull());
    }
};

QTEST_MAIN(TestMessageDialog)
#include "test_message_dialog.moc"
