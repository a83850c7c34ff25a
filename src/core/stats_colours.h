#pragma once
// The text colours of the Statistics window and the grouped view, chosen so
// every text stands out from what it is drawn on by at least 4.5:1 (the
// contrast that readable small text needs), measured as WCAG measures it.
// A theme colour that is too light for text (Sky's frame blue on its grey)
// is darkened in its own hue until it reads.
#include <utility>
#include <vector>

#include "core/theme_table.h"

namespace krx {

inline constexpr double kReadableContrast = 4.5;

// WCAG relative luminance, 0 (black) to 1 (white).
double RelativeLuminance(Colour c);
// (lighter + 0.05) / (darker + 0.05): 1 to 21.
double ContrastRatio(Colour a, Colour b);
// `wanted` itself when it reads on `background`, else the nearest colour
// toward black (or toward white on a dark background) that does.
Colour ReadableOn(Colour wanted, Colour background, double ratio = kReadableContrast);

struct StatsColours {
  Colour background;  // the window's
  Colour plot;        // the chart's plot area
  Colour list;        // the grouped view's rows
  Colour text;        // figures, table rows, the chart's labels
  Colour heading;     // the headings, in the theme's frame hue
  Colour mark;        // "new" in the grouped view
  Colour selection;   // a chosen row, under white text
};
StatsColours StatsColoursOf(int theme);

// Every (text, what it is drawn on) pair the two windows use, for a test to
// measure.
std::vector<std::pair<Colour, Colour>> StatsTextPairs(int theme);

}  // namespace krx
