#include "style.h"
