// The roles screen readers are told for the grid's squares and the panel's tiles.
#pragma once

namespace kavrin {

// Squares are cells of a grid, named on request from what they show; tiles are read-only text,
// named where they are drawn.
// Safe to call more than once.
void installAccessibleRoles();

} // namespace kavrin
