#include "bilgisayar_kimligi.h"

#include "platform/system_hooks.h"

#include <QRegularExpression>

using velmora::systemHooks;

namespace {

template <class F> QString safely(F&& f)
{
    try {
        return f();
    } catch (...) {
        return {};
    }
}

} // namespace

const QStringList& sabitBilgisayarIdleri()
{
    static const QStringList ids{QStringLiteral("VLM0000ESKI1"), QStringLiteral("VLM0000MERKEZ"),
                                 QStringLiteral("VLM0000ESKI2")};
    return ids;
}

QString DiskSeriNoAl()
{
    // A failing query gives an empty serial, as a disk that reports none.
    return safely([] { return systemHooks().diskSerial ? systemHooks().diskSerial().toUpper() : QString(); });
}

QString macAdresiBicimle(const QString& raw)
{
    const QString digits = QString(raw).remove(QRegularExpression(QStringLiteral("[^0-9A-Fa-f]")));
    if (digits.size() != 12 || raw.trimmed().size() > 17)
        return {};
    QStringList pairs;
    for (int i = 0; i < 12; i += 2)
        pairs << digits.mid(i, 2).toUpper();
    return pairs.join(QLatin1Char('-'));
}

QString MacAdresiAl()
{
    return macAdresiBicimle(
        safely([] { return systemHooks().networkAddress ? systemHooks().networkAddress() : QString(); }));
}

QString BilgisayarIdAl()
{
    QString id = safely([] { return DiskSeriNoAl().trimmed().remove(QRegularExpression(QStringLiteral("\\s"))); });
    if (id.isEmpty())
        id = safely([] { return MacAdresiAl().trimmed(); });
    const QStringList& fixed = sabitBilgisayarIdleri();
    if (id == fixed[0] || id == fixed[2])
        id = fixed[1];
    return id;
}

QString BilgisayarAdiAl()
{
    return safely([] { return systemHooks().computerName ? systemHooks().computerName() : QString(); });
}

QString KullaniciAdiAl()
{
    return safely([] { return systemHooks().userName ? systemHooks().userName() : QString(); });
}

QString IcIpAl()
{
    const QString address = safely([] { return systemHooks().localIPv4 ? systemHooks().localIPv4() : QString(); });
    return address.isEmpty() ? QStringLiteral("127.0.0.1") : address;
}
