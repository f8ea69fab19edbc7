#pragma once

// The portrait library's types that the app's commands hand to the front ends: the pictures they
// answer with (PngImage, Bitmap), and a player's look with its ethnicity numbers (Appearance,
// kCaucasian ...), which the install commands take for a pack of faces. The front ends include
// this header instead of reaching below app.

#include "portrait/appearance.h"
#include "portrait/bitmap.h"
#include "portrait/png_image.h"
