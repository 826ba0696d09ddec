#pragma once

#include <QString>

namespace velmora::server {

class Storage;

// The two demo users; both names and passwords are upper case and digits because the client
// turns typed input into upper case.
enum class DemoUser {
    Bayi,     // a dealer of the first demo account
    Temsilci, // a representative
};

struct DemoCredentials {
    QString name;
    QString password;
};

DemoCredentials demoCredentials(DemoUser user);

// Fills a database without users with demo representatives, customer accounts, users, a news
// line and a small demo installer. Returns false, changing nothing, when users already exist.
bool fillDemoData(Storage& storage);

// Registers `computerId` as an installation of the demo user; throws StorageError when the
// database holds no such user.
void registerDemoComputer(Storage& storage, DemoUser user, const QString& computerId);

} // namespace velmora::server
