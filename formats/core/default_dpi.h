#pragma once
// The resolution readers report for files that carry none: the screen's logical resolution.
// The application sets it from its primary screen at start; 96 until then (tools, tests).

inline int& IEDefaultDpi() {
    static int dpi = 96;
    return dpi;
}
