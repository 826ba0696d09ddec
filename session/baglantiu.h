#pragma once

// Services every window shares about the session and the server connection.

#include "bilgisayar_kimligi.h"
#include "kayitlar.h"
#include "platform/server_connection.h"
#include "platform/ui/message_dialog.h"
#include "veri_yardimcilari.h"

#include <QString>

using velmora::MessageButton;
using velmora::MessageButtons;
using velmora::MessageKind;

// The program's message box: Turkish title and captions by kind, the kind's sound, the default
// button focused. Returns the modal result (mrYes 6, mrNo 7, mrOk 1, ...). Any thread may call
// it; the dialog runs on the user-interface thread.
int MesajVer(const QString& metin, MessageKind tip, MessageButtons dugmeler, int yardimBaglami,
             MessageButton varsayilan);

inline constexpr const char* kBaglantiKurulamiyor = "Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!";

// Closes the connection, then tries to open it up to 11 times, 500 ms apart. When it stays
// closed and `mesajgoster` is 1, shows the connection failure message once. Never throws.
bool BaglantiKontrol(velmora::ServerConnection& baglanti, int mesajgoster);

// The program's settings folder (created when missing), without a trailing separator.
QString AyarKlasoru();
// The user's documents folder; empty when unknown.
QString BelgelerKlasoru();
