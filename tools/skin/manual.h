#pragma once

#include <QImage>
#include <vector>

namespace qm::skin {

constexpr int kPageWidth = 340;
constexpr int kPageHeight = 535;

// The handheld's leaflet: 14 pages, cover first, drawn at the body picture's scale.
std::vector<QImage> draw_manual_pages(const QImage& body);

}  // namespace qm::skin
