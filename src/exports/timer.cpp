// Timer exports: one stopwatch in milliseconds; before the first StartTimer it reads 0.
#include "exports/guard.h"
#include "exports/lookup.h"
#include "vxl.h"

using namespace vxl;
using exports::Guarded;

extern "C" {

void StartTimer(void) {
    Guarded([&] {
        auto& timer = TheLibrary().timer;
        timer = std::make_unique<TTimerVx>(TTimerVx::kMilliseconds);
        timer->Start();
    });
}

void StopTimer(void) {
    Guarded([&] {
        if (TTimerVx* t = TheLibrary().timer.get()) t->Stop();
    });
}

void ResetTimer(void) {
    Guarded([&] {
        if (TTimerVx* t = TheLibrary().timer.get()) t->Reset();
    });
}

float Timer(void) {
    return Guarded([&] {
        const TTimerVx* t = TheLibrary().timer.get();
        return t ? t->Read() : 0.0f;
    });
}

}  // extern "C"
