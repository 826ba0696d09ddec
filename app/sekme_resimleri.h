#pragma once

#include <QPixmap>

// Pictures of the main window's tabs, drawn by us, 32 x 32 pixels, by the tab's image index:
// 0 stock list, 1 statement, 2 files, 3 previous orders, 5 announcements, 6 campaign stock,
// 7 balances, 8 basket, 10 new stock. Other indexes give an empty picture.
QPixmap sekmeResmi(int indeks);
// The magnifier in front of the search box, 24 x 24 pixels.
QPixmap buyutecResmi();
