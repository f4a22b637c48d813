#include "local/Prefs.h"

SLocal sLocal = {};
