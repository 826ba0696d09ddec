#pragma once

namespace velmora {
class DataSet;
}

// Helpers of the session unit over client data sets; no window involved.

// Every floating-point field shows amounts with "#,###,##0.00".
void OndalikBicimle(velmora::DataSet& dataSet);
// True when the data set is open and holds at least one row.
bool DoluMu(const velmora::DataSet& dataSet);
// True when some row has SEC = 1; the cursor then stays on the first such row. A data set that is
// not DoluMu answers false and its cursor does not move; otherwise a walk without a marked row
// leaves the cursor at the end.
bool SeciliVarmi(velmora::DataSet& dataSet);
