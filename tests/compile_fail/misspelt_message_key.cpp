// Must not compile: the key is not in the message catalog.
#include "messages/cpu_exception.h"

void misspelt() { sps::throwMessage("Out of feild read"); }
