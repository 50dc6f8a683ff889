// The batch conversion page.
// Placeholders until the commands land: each does nothing yet.

#include "app/main_form.h"

void TForm1::Conversiondimages1_oldClick() {}

void TForm1::DirTree1Change() {}

void TForm1::DirTree2Change() {}

void TForm1::FileList1Click() {}

void TForm1::RadioGroup1Click() {}

void TForm1::RadioGroup2Click() {}

void TForm1::Button2Click() {}

void TForm1::PointFolderTreesAt(const QString&) {}
