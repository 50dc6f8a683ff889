// Language switching.
// Placeholders until the commands land: each does nothing yet.

#include "app/main_form.h"

void TForm1::Francaisanglais() {}
