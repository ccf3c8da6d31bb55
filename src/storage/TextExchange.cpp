#include "TextExchange.h"
