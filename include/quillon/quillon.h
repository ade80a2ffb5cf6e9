/// @file
/// Quillon: survey, geodetic and numeric utilities. Include this one header
/// and link the quillon library.
#ifndef QUILLON_QUILLON_H
#define QUILLON_QUILLON_H

#include <quillon/export.h>
#include <quillon/units.h>
#include <quillon/angles.h>
#include <quillon/timescale.h>
#include <quillon/sentences.h>
#include <quillon/geodesy.h>
#include <quillon/numerics.h>
#include <quillon/estimation.h>

#endif
