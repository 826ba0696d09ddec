#pragma once

#include <QString>

// The program's compiled-in configuration. Tests change it before they build a window.
struct ProgramAyarlari {
    QString sunucuGenelAdresi; // the server as seen from outside
    QString sunucuYerelAdresi; // the server inside the distributor's network
    int port = 9090;
    int surum = 18;        // this client's version number
    QString ekoAdresi;     // echoes the caller's public IPv4 address
    QString kurulumAdresi; // the current installer
    QString siteAdi;       // the distributor's web site, as the menu shows it
    QString siteAdresi;
};

ProgramAyarlari& programAyarlari();
ProgramAyarlari derlenmisAyarlar();
