// View controls and the clipboard.
// Placeholders until the commands land: each does nothing yet.

#include "app/main_form.h"

void TForm1::Copier1_oldClick() {}

void TForm1::Coller1_oldClick() {}

void TForm1::Unselect1_oldClick() {}

void TForm1::Copy1_oldClick() {}

void TForm1::TrackBar1Change() {}

void TForm1::zoomChange() {}

void TForm1::retour45Click() {}

void TForm1::vertClick() {}

void TForm1::horClick() {}

void TForm1::SpeedButton10Click() {}

void TForm1::ImageViewMouseDown(TImageView*, Qt::MouseButton, QPoint) {}
