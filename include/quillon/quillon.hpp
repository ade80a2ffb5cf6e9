/// @file
/// The C++ API of Quillon: include this one header and link the quillon
/// library. Everything is in namespace quillon; see docs/architecture.md for
/// its conventions. Hosts that load the library use the flat interface of
/// <quillon/quillon.h> instead.
#ifndef QUILLON_QUILLON_HPP
#define QUILLON_QUILLON_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/cpp/text.hpp>
#include <quillon/cpp/units.hpp>
#include <quillon/cpp/angles.hpp>
#include <quillon/cpp/time.hpp>
#include <quillon/cpp/sentences.hpp>
#include <quillon/cpp/geodesy.hpp>
#include <quillon/cpp/numerics.hpp>
#include <quillon/cpp/estimation.hpp>
#include <quillon/cpp/track.hpp>

/// Survey, geodetic and numeric utilities: the C++ API.
namespace quillon {}

#endif
