#include "table.h"

#include <array>
#include <utility>

namespace velmora {

namespace {
constexpr std::array<std::pair<FieldType, const char*>, 7> kTypeNames{{
    {FieldType::Int32, "int32"},
    {FieldType::Int64, "int64"},
    {FieldType::Double, "double"},
    {FieldType::Text, "text"},
    {FieldType::Bool, "bool"},
    {FieldType::Date, "date"},
    {FieldType::Blob, "blob"},
}};
} // namespace

QString fieldTypeName(FieldType type)
{
    for (const auto& [t, name] : kTypeNames) {
        if (t == type)
            return QString::fromLatin1(name);
    }
    return {};
}

bool fieldTypeFromName(const QString& name, FieldType* type)
{
    for (const auto& [t, n] : kTypeNames) {
        if (name == QLatin1String(n)) {
            *type = t;
            return true;
        }
    }
    return false;
}

int Table::columnIndex(const QString& name) const
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace velmora
