#include "error_report.h"
