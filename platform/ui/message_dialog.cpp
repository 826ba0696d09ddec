#include "message_dialog.h"
