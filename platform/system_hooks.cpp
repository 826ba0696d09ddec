#include "system_hooks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>

#include <arpa/inet.h>
#include <cstdio>
#include <netdb.h>
#include <pwd.h>
#include <unistd.h>

namespace velmora {

namespace {

QString readFirstLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readLine()).trimmed();
}

// The first whole disk the kernel lists that is not virtual (loop, ram, zram, device mapper).
QString firstDiskSerial()
{
    const QDir block(QStringLiteral("/sys/block"));
    QStringList disks = block.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& disk : disks) {
        if (disk.startsWith(QLatin1String("loop")) || disk.startsWith(QLatin1String("ram")) ||
            disk.startsWith(QLatin1String("zram")) || disk.startsWith(QLatin1String("dm-")) ||
            disk.startsWith(QLatin1String("sr")))
            continue;
        for (const QString& candidate :
             {QStringLiteral("/sys/block/%1/device/serial"), QStringLiteral("/sys/block/%1/serial")}) {
            const QString serial = readFirstLine(candidate.arg(disk));
            if (!serial.isEmpty())
                return serial;
        }
        // Only the first physical disk counts.
        if (QFileInfo::exists(QStringLiteral("/sys/block/%1/device").arg(disk)))
            return {};
    }
    return {};
}

// The first adapter that is backed by hardware (not under /sys/devices/virtual).
QString firstAdapterAddress()
{
    const QDir net(QStringLiteral("/sys/class/net"));
    for (const QString& adapter : net.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        const QString target = QFileInfo(net.filePath(adapter)).canonicalFilePath();
        if (target.contains(QLatin1String("/virtual/")))
            continue;
        const QString address = readFirstLine(net.filePath(adapter) + QStringLiteral("/address"));
        if (!address.isEmpty() && address != QLatin1String("00:00:00:00:00:00"))
            return address;
    }
    return {};
}

QString localAddress()
{
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0)
        return QStringLiteral("127.0.0.1");
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* result = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &result) != 0 || !result)
        return QStringLiteral("127.0.0.1");
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(result->ai_addr);
    inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
    freeaddrinfo(result);
    return QString::fromLatin1(text);
}

QString loginName()
{
    if (const passwd* pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

SystemHooks defaultSystemHooks()
{
    SystemHooks h;
    h.endProcess = [](int code) {
        std::fflush(nullptr);
        ::_exit(code);
    };
    h.retryWait = [](std::chrono::milliseconds wait) { QThread::msleep(static_cast<unsigned long>(wait.count())); };
    h.playSound = [](SystemSound) {}; // the widget layer installs the desktop's beep
    h.shellOpen = [](const QString& target, const QString& parameters) {
        if (parameters.isEmpty())
            return QProcess::startDetached(QStringLiteral("xdg-open"), {target});
        return QProcess::startDetached(target, QProcess::splitCommand(parameters));
    };
    h.appDataFolder = [] { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); };
    h.documentsFolder = [] { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); };
    h.desktopFolder = [] { return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation); };
    h.diskSerial = firstDiskSerial;
    h.networkAddress = firstAdapterAddress;
    h.computerName = [] { return QSysInfo::machineHostName(); };
    h.userName = loginName;
    h.localIPv4 = localAddress;
    return h;
}

SystemHooks& systemHooks()
{
    static SystemHooks hooks = defaultSystemHooks();
    return hooks;
}

} // namespace velmora
