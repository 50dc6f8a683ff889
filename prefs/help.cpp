// Help file and web page.
// Placeholders until the commands land: each does nothing yet.

#include "app/main_form.h"

void TForm1::Aide1_oldClick() {}

void TForm1::webClick() {}
