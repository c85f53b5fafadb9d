#include "win_types.h"
