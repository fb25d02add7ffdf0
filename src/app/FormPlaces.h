#pragma once

#include <array>

// Where the form's controls stand at its first size (twips), for the two
// halves of the form: building it and letting it grow.
namespace vq::form {

// Left and width (twips) of the pickers at the first size, over grid
// columns 2, 3, 5, 6, 7, 8, 9; from there each follows its column.
inline constexpr std::array<std::array<int, 2>, 7> kPickerPlaces = {
    {{3240, 855}, {4200, 855}, {6480, 855}, {7560, 855}, {8520, 735}, {9240, 615}, {9960, 615}}};
inline constexpr std::array<int, 7> kPickerColumns = {2, 3, 5, 6, 7, 8, 9};

// The form at its first size, and the grid in it (twips); the grid takes
// whatever the window gains.
inline constexpr int kFormWidth = 11880;
inline constexpr int kFormHeight = 8100;
inline constexpr std::array<int, 4> kGridPlace = {720, 2160, 10335, 5295};
inline constexpr double kGridPoints = 12;

} // namespace vq::form
