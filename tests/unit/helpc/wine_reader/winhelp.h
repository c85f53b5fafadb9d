/* The viewer's own header, reduced to what its file reader needs. */
#include "win_types.h"
#include "hlpfile.h"
