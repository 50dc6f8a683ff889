// Scan commands and the scanner list at activation.
// Placeholders until the commands land: each does nothing yet.

#include "app/main_form.h"

void TForm1::FormActivate() {}

void TForm1::Activationscanner() {}

void TForm1::validerClick() {}

void TForm1::SpeedButton4Click() {}

void TForm1::SpeedButton7Click() {}

void TForm1::SpeedButton3Click() {}
