// Compiles: the same call with a key the catalog has (the control for
// misspelt_message_key.cpp, so that its failure is the key's).
#include "messages/cpu_exception.h"

void known() { sps::throwMessage("Out of field read"); }
