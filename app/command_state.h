#pragma once
// Which document commands each event switches. The program keeps no "image present" flag:
// each handler applies its own column, and a control with no entry in a column keeps its state.

#include <array>
#include <cstdint>

enum class TCommandEvent : uint8_t {
    ceOpen,            // an image was opened
    ceScan,            // any scan command delivered an image
    cePaste,           // an image was pasted
    ceHandOff,         // a file handed over by the shell was opened
    ceSaveAs,          // save as completed
    ceLastTabClosed,   // close removed the last tab
    ceCloseAllNone,    // close all left no tab
    ceClearImage,      // the image was cleared
};
inline constexpr int CommandEventCount = 8;

enum class TCommandCell : uint8_t {
    Keep,       // not switched by this event
    On,
    Off,
    TwoOrMore,  // on with two or more tabs after the event
    OnZero,     // on, and a track bar goes to position 0
    OffZero,    // off, and a track bar goes to position 0
    Clear,      // the status text is emptied
};

struct TCommandRow {
    const char* Control;  // object name of a control in the main window
    std::array<TCommandCell, CommandEventCount> Cells;
};

// "PopupMenu1" stands for its automatic pop-up, "StatusBar1" for its text.
const std::array<TCommandRow, 22>& CommandTable();
