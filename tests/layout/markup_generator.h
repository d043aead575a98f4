// Random structure markups and C sources, to try the layout engine on many shapes.
#pragma once

#include <random>
#include <string>

namespace tarnwell::testing {

// A complete markup: random nesting of every item kind, up to `max_depth` sequences deep.
std::string random_markup(std::mt19937& rng, int max_depth);

// What a failed parse leaves: the markup cut at a random point, then "\001".
std::string cut_markup(std::mt19937& rng, const std::string& markup);

// The markup with a few random faults: stray characters, items dropped or repeated, tags
// cut off, huge numbers. No "(" or ")" is added, so range texts stay readable in a script.
std::string damaged_markup(std::mt19937& rng, const std::string& markup);

// A C function body with random nesting of every statement kind the C-family parser marks;
// now and then with a syntax error.
std::string random_c_source(std::mt19937& rng, int max_depth);

}  // namespace tarnwell::testing
