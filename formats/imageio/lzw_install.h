#pragma once
// Fills the four program-wide LZW slots with the program's own routines (TIFF decoder and
// encoder, GIF decoder and encoder). The main window calls it when it is created, the
// command-line tools at start.
void IEInstallProgramLzwRoutines();
