// Opening and saving images.
// Placeholders until the commands land: each does nothing yet.

#include "app/main_form.h"

void TForm1::Ouvrir1_oldClick() {}

void TForm1::Enregistrersous1_oldClick() {}

void TForm1::CustomItem1Click() {}
