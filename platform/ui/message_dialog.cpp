#include "message_dialog.h"

#include "platform/system_hooks.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <array>
#include <atomic>
#include <optional>
#include <utility>

namespace velmora {

namespace {

MessageHook& messageHook()
{
    static MessageHook hook;
    return hook;
}

std::atomic<int> g_messageFontSize{15};

// Buttons in the order they stand in the row, each with its result.
constexpr std::array<std::pair<MessageButton, ModalResult>, 12> kButtonOrder{{
    {mbYes, mrYes},
    {mbYesToAll, mrYesToAll},
    {mbNo, mrNo},
    {mbNoToAll, mrNoToAll},
    {mbOK, mrOk},
    {mbAbort, mrAbort},
    {mbRetry, mrRetry},
    {mbIgnore, mrIgnore},
    {mbAll, mrAll},
    {mbCancel, mrCancel},
    {mbClose, mrClose},
    {mbHelp, mrHelp},
}};

QString resultName(ModalResult result)
{
    switch (result) {
    case mrOk:
        return QStringLiteral("mrOk");
    case mrCancel:
        return QStringLiteral("mrCancel");
    case mrAbort:
        return QStringLiteral("mrAbort");
    case mrRetry:
        return QStringLiteral("mrRetry");
    case mrIgnore:
        return QStringLiteral("mrIgnore");
    case mrYes:
        return QStringLiteral("mrYes");
    case mrNo:
        return QStringLiteral("mrNo");
    case mrClose:
        return QStringLiteral("mrClose");
    case mrHelp:
        return QStringLiteral("mrHelp");
    case mrAll:
        return QStringLiteral("mrAll");
    case mrNoToAll:
        return QStringLiteral("mrNoToAll");
    case mrYesToAll:
        return QStringLiteral("mrYesToAll");
    case mrNone:
        break;
    }
    return QStringLiteral("mrNone");
}

std::optional<SystemSound> kindSound(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return SystemSound::Exclamation;
    case MessageKind::Error:
        return SystemSound::Hand;
    case MessageKind::Information:
        return SystemSound::Asterisk;
    case MessageKind::Confirmation:
        return SystemSound::Question;
    case MessageKind::Custom:
        break;
    }
    return std::nullopt;
}

std::optional<QStyle::StandardPixmap> kindIcon(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageKind::Error:
        return QStyle::SP_MessageBoxCritical;
    case MessageKind::Information:
        return QStyle::SP_MessageBoxInformation;
    case MessageKind::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    case MessageKind::Custom:
        break;
    }
    return std::nullopt;
}

// The message window: icon and text above a row of buttons. Escape and closing the window give
// fixed results instead of QDialog's plain rejection.
class MessageDialog : public QDialog {
public:
    explicit MessageDialog(const MessageRequest& request)
    {
        setObjectName(QStringLiteral("MesajDialog"));
        setWindowTitle(messageTitle(request.kind));
        setModal(true);

        // The widget's own sheet wins over the application's, so the message font size holds
        // under any style.
        QFont messageFont = font();
        messageFont.setPointSize(messageFontSize());
        setFont(messageFont);
        setStyleSheet(
            QStringLiteral("QDialog#MesajDialog, QDialog#MesajDialog * { font-size: %1pt; }").arg(messageFontSize()));

        auto* content = new QHBoxLayout;
        content->setSpacing(16);
        if (const auto icon = kindIcon(request.kind)) {
            const int extent = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
            auto* iconLabel = new QLabel(this);
            iconLabel->setObjectName(QStringLiteral("simge"));
            iconLabel->setPixmap(style()->standardIcon(*icon, nullptr, this).pixmap(extent, extent));
            iconLabel->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
            content->addWidget(iconLabel);
        }
        // Messages break lines with CR LF; a lone CR would show as a stray glyph.
        QString shown = request.text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        auto* text = new QLabel(shown, this);
        text->setObjectName(QStringLiteral("mesaj"));
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->setMinimumWidth(260);
        content->addWidget(text, 1);

        // An empty set would leave no way to answer: such a request gets an OK button.
        const MessageButtons buttons = request.buttons != 0 ? request.buttons : MessageButtons(mbOK);
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        QList<QPushButton*> made;
        ModalResult lastResult = mrNone;
        QPushButton* defaultButton = nullptr;
        for (const auto& [button, result] : kButtonOrder) {
            if ((buttons & button) == 0)
                continue;
            auto* push = new QPushButton(buttonCaption(button), this);
            push->setObjectName(resultName(result));
            push->setAutoDefault(true);
            connect(push, &QPushButton::clicked, this, [this, r = result] { done(r); });
            row->addWidget(push);
            made.append(push);
            lastResult = result;
            if (button == request.defaultButton)
                defaultButton = push;
            if (button == mbCancel)
                m_escapeResult = mrCancel;
            else if (button == mbNo && m_escapeResult != mrCancel)
                m_escapeResult = mrNo;
        }
        if (made.size() == 1 && m_escapeResult == mrNone)
            m_escapeResult = lastResult;
        if (!defaultButton)
            defaultButton = made.front();

        // The default button leads the tab order, holds the focus and answers Enter.
        defaultButton->setDefault(true);
        QWidget* previous = defaultButton;
        for (QPushButton* push : made) {
            if (push == defaultButton)
                continue;
            setTabOrder(previous, push);
            previous = push;
        }
        defaultButton->setFocus(Qt::OtherFocusReason);

        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(20, 20, 20, 14);
        layout->setSpacing(18);
        layout->addLayout(content);
        layout->addLayout(row);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }

    void centreOnScreen()
    {
        adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            if (m_escapeResult != mrNone)
                done(m_escapeResult);
            return;
        }
        QDialog::keyPressEvent(event);
    }

    // Closing the window (and any other rejection) counts as Cancel.
    void reject() override { done(mrCancel); }

private:
    ModalResult m_escapeResult = mrNone;
};

} // namespace

void setMessageHook(MessageHook hook)
{
    messageHook() = std::move(hook);
}

int showMessage(const MessageRequest& request)
{
    if (const MessageHook& hook = messageHook())
        return hook(request);

    // The plain desktop box plays nothing itself: its callers play the sound they want.
    if (request.source != MessageSource::StandardBox) {
        const auto sound = kindSound(request.kind);
        if (sound && systemHooks().playSound)
            systemHooks().playSound(*sound);
    }

    QPointer<MessageDialog> dialog = new MessageDialog(request);
    dialog->centreOnScreen();
    const int result = dialog->exec();
    delete dialog.data();
    return result;
}

void setMessageFontSize(int points)
{
    g_messageFontSize = points;
}

int messageFontSize()
{
    return g_messageFontSize;
}

QString messageTitle(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Uyarı");
    case MessageKind::Error:
        return QStringLiteral("Hata");
    case MessageKind::Information:
        return QStringLiteral("Bilgi");
    case MessageKind::Confirmation:
        return QStringLiteral("Soru");
    case MessageKind::Custom:
        break;
    }
    return QApplication::applicationDisplayName();
}

QString buttonCaption(MessageButton button)
{
    switch (button) {
    case mbYes:
        return QStringLiteral("Evet");
    case mbNo:
        return QStringLiteral("Hayır");
    case mbOK:
        return QStringLiteral("Tamam");
    case mbCancel:
        return QStringLiteral("Vazgeç");
    case mbAbort:
        return QStringLiteral("İptal");
    case mbRetry:
        return QStringLiteral("Tekrar");
    case mbIgnore:
        return QStringLiteral("Atla");
    case mbAll:
        return QStringLiteral("All");
    case mbNoToAll:
        return QStringLiteral("Tümüne Hayır");
    case mbYesToAll:
        return QStringLiteral("Tümüne Evet");
    case mbHelp:
        return QStringLiteral("Yardım");
    case mbClose:
        return QStringLiteral("Close");
    }
    return {};
}

} // namespace velmora
