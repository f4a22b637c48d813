#include "base/Prefs.h"

SLocal sLocal = {};
