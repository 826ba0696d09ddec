#pragma once

#include <QString>
#include <QStringList>

// Identity of this computer, by which the server knows the installation.

// The disk serial without blanks, else the network adapter address; one of the fixed replaced
// identifiers maps to the identifier it stands for.
QString BilgisayarIdAl();
// Serial number of the first physical disk, upper case; empty when the system reports none.
QString DiskSeriNoAl();
// Address of the first real network adapter as six upper-case hex pairs joined by "-", or empty.
QString MacAdresiAl();
QString BilgisayarAdiAl();
QString KullaniciAdiAl();
// Local IPv4 address in dotted form ("127.0.0.1" when it cannot be found).
QString IcIpAl();

// The three fixed identifiers: an identifier equal to the first or the third is reported as the
// second (computers that were re-installed keep the identifier the server knows).
const QStringList& sabitBilgisayarIdleri();
// The adapter address in the six-pairs form, or empty when `raw` is not six hex pairs.
QString macAdresiBicimle(const QString& raw);
