// Image adjustments.
// Placeholders until the commands land: each does nothing yet.

#include "app/main_form.h"

void TForm1::Annuler1_oldClick() {}

void TForm1::AjustagedesCouleurs1_oldClick() {}

void TForm1::Ngatif1_oldClick() {}

void TForm1::EchelledeGris1_oldClick() {}

void TForm1::NoirBlanc1_oldClick() {}

void TForm1::Couluersvraies1_oldClick() {}

void TForm1::Effets1_oldClick() {}

void TForm1::Effacerlimage1_oldClick() {}
