#include "core/btn_group_geometry.h"

#include <cstdint>

namespace krx {
namespace {

bool GridHolds(int rows, int columns, size_t count) {
  if (rows < 1 || columns < 1) return false;
  return static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(columns) >= count;
}

}  // namespace

bool CanCreateButtons(size_t labels, size_t ids, bool windowExists, int rows, int columns) {
  return labels == ids && windowExists && GridHolds(rows, columns, labels);
}

std::vector<PixelRect> GroupCells(int width, int height, int rows, int columns, size_t count) {
  std::vector<PixelRect> cells;
  if (!GridHolds(rows, columns, count)) return cells;
  const int w = (width - 1) / columns;
  const int h = (height - 1) / rows;
  for (size_t index = 0; index < count; ++index) {
    const int i = static_cast<int>(index / static_cast<size_t>(columns));
    const int j = static_cast<int>(index % static_cast<size_t>(columns));
    cells.push_back({j * w, i * h, (j + 1) * w + 1, (i + 1) * h + 1});
  }
  return cells;
}

std::optional<GroupLayoutResult> LayoutGroup(const PixelRect& place, int rows, int columns, size_t buttons) {
  if (buttons == 0 || !GridHolds(rows, columns, buttons)) return std::nullopt;
  GroupLayoutResult out;
  out.buttons = GroupCells(place.Width(), place.Height(), rows, columns, buttons);
  out.group = place;
  return out;
}

}  // namespace krx
