#include "veri_yardimcilari.h"

#include "platform/data_set.h"
#include "platform/number_format.h"

void OndalikBicimle(velmora::DataSet& dataSet)
{
    const QString format = QString::fromLatin1(velmora::kAmountFormat);
    const QVector<velmora::DataSet::Field> fields = dataSet.fields();
    dataSet.disableControls(); // one reset for all fields
    for (const velmora::DataSet::Field& field : fields) {
        if (field.type == velmora::FieldType::Double)
            dataSet.setDisplayFormat(field.name, format);
    }
    dataSet.enableControls();
}

bool DoluMu(const velmora::DataSet& dataSet)
{
    return dataSet.isOpen() && !dataSet.isEmpty();
}

bool SeciliVarmi(velmora::DataSet& dataSet)
{
    if (!DoluMu(dataSet))
        return false;
    dataSet.first();
    while (!dataSet.eof()) {
        const QVariant sec = dataSet.value(QStringLiteral("SEC"));
        bool ok = false;
        if (sec.isValid() && sec.toDouble(&ok) == 1.0 && ok)
            return true;
        dataSet.next();
    }
    return false;
}
