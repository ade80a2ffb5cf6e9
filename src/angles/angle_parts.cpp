// The parts of an angle's magnitude as numbers, for hosts that lay them out
// themselves.
#include <climits>

#include "angles/angle_split.h"
#include "quillon/angles.h"

using quillon::angles::splitDm;
using quillon::angles::splitDms;

// -45.75 at 3 decimals -> 45, 45, 0.0; 10.9999999 at 2 -> 11, 0, 0.0.
void degToDms(double angle, int decimals, int* degrees, int* minutes, double* seconds) {
    auto parts = splitDms(angle, decimals);
    if (parts.degrees > INT_MAX) parts = {0, 0, 0.0};  // the carry out of 2147483647 degrees
    *degrees = static_cast<int>(parts.degrees);
    *minutes = parts.minutes;
    *seconds = parts.seconds;
}

// 10.9999999 at 2 decimals -> 11, 0.0.
void degToDecMin(double angle, int decimals, int* degrees, double* minutes) {
    auto parts = splitDm(angle, decimals);
    if (parts.degrees > INT_MAX) parts = {0, 0.0};
    *degrees = static_cast<int>(parts.degrees);
    *minutes = parts.minutes;
}
