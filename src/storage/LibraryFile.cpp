#include "LibraryFile.h"
