#pragma once
// Start-up: the splash shows exactly while the main window is created.

#include <memory>

class TForm1;

// Shows the splash, sets the application title, creates the main window, destroys the splash.
std::unique_ptr<TForm1> StartUp();
