#pragma once

#include <QString>

#include <functional>

namespace velmora {

// Kinds of message: each has its icon, title and sound.
enum class MessageKind {
    Warning,      // "Uyarı"
    Error,        // "Hata"
    Information,  // "Bilgi"
    Confirmation, // "Soru"
    Custom,       // the application's title, no sound
};

// Buttons a message can hold (combine with |).
enum MessageButton : unsigned {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
    mbClose = 1u << 11,
};
using MessageButtons = unsigned;

// Modal results.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrClose = 8,
    mrHelp = 9,
    mrAll = 12,
    mrNoToAll = 13,
    mrYesToAll = 14,
};

// Who asked for the message box.
enum class MessageSource {
    Message,     // the program's own message dialog with Turkish captions
    StandardBox, // the desktop's plain message box
    ErrorReport, // an error that no window caught
};

struct MessageRequest {
    QString text;
    MessageKind kind = MessageKind::Information;
    MessageButtons buttons = mbOK;
    MessageButton defaultButton = mbOK;
    MessageSource source = MessageSource::Message;
};

// Tests replace the dialog: the hook gets every request and returns the modal result.
using MessageHook = std::function<int(const MessageRequest&)>;
void setMessageHook(MessageHook hook); // an empty hook restores the real dialog

// Shows the message modally (or hands it to the hook) and returns the modal result. The real
// dialog is centred on the screen, uses the message font size, titles and captions in Turkish,
// plays the kind's sound and has the default button focused.
int showMessage(const MessageRequest& request);

// The point size of the font of every message dialog.
void setMessageFontSize(int points);
int messageFontSize();

// Title and caption texts, for the dialog and for tests.
QString messageTitle(MessageKind kind);
QString buttonCaption(MessageButton button);

} // namespace velmora
