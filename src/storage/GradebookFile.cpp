#include "GradebookFile.h"
