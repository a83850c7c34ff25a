#include "core/stats_colours.h"

#include <cmath>

namespace krx {

namespace {

double Channel(int value) {
  const double c = value / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kBlack = MakeColour(0, 0, 0);

}  // namespace

double RelativeLuminance(Colour c) {
  return 0.2126 * Channel(RedOf(c)) + 0.7152 * Channel(GreenOf(c)) + 0.0722 * Channel(BlueOf(c));
}

double ContrastRatio(Colour a, Colour b) {
  double x = RelativeLuminance(a), y = RelativeLuminance(b);
  if (x < y) std::swap(x, y);
  return (x + 0.05) / (y + 0.05);
}

Colour ReadableOn(Colour wanted, Colour background, double ratio) {
  const Colour toward = RelativeLuminance(background) > 0.18 ? kBlack : kWhite;
  // Twenty steps of 5% toward black (or white) keep the hue recognisable;
  // the last step is black (white) itself, which always reads.
  for (int step = 0; step <= 20; ++step) {
    const auto mix = [&](int a, int b) { return a + (b - a) * step / 20; };
    const Colour c = MakeColour(mix(RedOf(wanted), RedOf(toward)), mix(GreenOf(wanted), GreenOf(toward)),
                                mix(BlueOf(wanted), BlueOf(toward)));
    if (ContrastRatio(c, background) >= ratio) return c;
  }
  return toward;
}

StatsColours StatsColoursOf(int theme) {
  const ThemeColours& t = GetThemeColours(theme);
  StatsColours c;
  c.background = t[kThemeBackground];
  c.plot = t[kThemeHighlight];
  c.list = kWhite;
  c.text = ReadableOn(kBlack, c.background);
  c.heading = ReadableOn(t[kThemeBorder], c.background);
  // "new" in the heading's hue, on the rows' white.
  c.mark = ReadableOn(t[kThemeBorder], c.list);
  c.selection = ReadableOn(t[kThemeBorder], kWhite);
  return c;
}

std::vector<std::pair<Colour, Colour>> StatsTextPairs(int theme) {
  const StatsColours c = StatsColoursOf(theme);
  return {{c.text, c.background}, {c.text, c.plot},    {c.heading, c.background},
          {c.text, c.list},       {c.mark, c.list},    {kWhite, c.selection}};
}

}  // namespace krx
