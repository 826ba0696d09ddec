#pragma once

#include "platform/ui/grid_column.h"

// A grid column bound to a field, named after its view and field as the window names them.
inline velmora::GridColumn izgaraSutunu(const char* gorunum, const char* alan, const char* baslik, int agirlik,
                                        bool gorunur, bool sunulur, velmora::CellKind tur)
{
    velmora::GridColumn c;
    c.objectName = QLatin1String(gorunum) + QLatin1String(alan);
    c.fieldName = QLatin1String(alan);
    c.caption = QString::fromUtf8(baslik);
    c.weight = agirlik;
    c.visible = gorunur;
    c.offered = sunulur;
    c.kind = tur;
    c.wrap = tur == velmora::CellKind::Text;
    return c;
}
