#pragma once
// The progress record every codec receives. A codec reports after each unit with
// Report() and stops as soon as Aborted() is true; giving up means Abort().

#include <cmath>
#include <functional>

struct TProgressRec {
    // The component's progress event (Sender, percentage); empty when none is assigned.
    std::function<void(void* sender, int percent)> OnProgress;
    void* Sender = nullptr;
    int Count = 0;
    double Factor = 0.0;
    double Factor2 = 0.0;
    bool* Aborting = nullptr;  // the component's flag; never null while a codec runs

    bool Aborted() const { return Aborting && *Aborting; }
    void Abort() const { if (Aborting) *Aborting = true; }
    void Report(int percent) const { if (OnProgress) OnProgress(Sender, percent); }
    // Trunc(Count × Factor).
    void ReportCount() const { if (OnProgress) OnProgress(Sender, static_cast<int>(std::trunc(Count * Factor))); }
};
