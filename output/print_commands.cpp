// Printing commands, and Esc cancelling a running print job.
// Placeholders until the commands land: each does nothing yet.

#include "app/main_form.h"

void TForm1::AperuavantImpression1_oldClick() {}

void TForm1::Imprimer1_oldClick() {}

void TForm1::Configurerlimprimante1_oldClick() {}

void TForm1::FormKeyDown(QKeyEvent*) {}
